// The terminal record: a ramp of group levels shows a line per simulated
// second and its final level, while every other event shows as it comes,
// with the mission time once the vessel has lifted off.
#include "sim/runner/record/event_printer.h"

#include <gtest/gtest.h>

#include <sstream>

using sim::Event;
using sim::EventKind;
using sim::runner::EventPrinter;

namespace {

int count(const std::string &text, const std::string &what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

Event level(double t, const std::string &vessel, THGROUP_TYPE group, double level) {
  Event e{t, vessel, EventKind::groupLevel, sim::groupName(group) + " " + std::to_string(level)};
  e.group = group;
  e.level = level;
  return e;
}

Event liftoff(double t, const std::string &vessel) { return {t, vessel, EventKind::liftoff, "thrust 1 N"}; }

}  // namespace

TEST(event_printer, a_ramp_of_group_levels_shows_once_a_second_and_ends_on_its_last_level) {
  std::ostringstream out;
  EventPrinter p(out);
  for (int i = 1; i <= 250; ++i) {  // 5 s at 0.02 s a step, to 0.75
    const double t = i * 0.02;
    p.event(level(t, "L1", THGROUP_HOVER, 0.003 * i));
    if (i == 100) p.event(liftoff(t, "L1"));
    if (i == 150) p.event(liftoff(t, "L2"));  // the mission's clock runs from the first
    p.catchUp(t);
  }
  p.event(level(5.5, "L1", THGROUP_MAIN, 1));
  p.event(level(5.52, "L1", THGROUP_MAIN, 0));  // on and off always show
  p.catchUp(7);
  const std::string text = out.str();
  EXPECT_EQ(count(text, "HOVER"), 6) << text;  // at 0.02, 1.02, ..., 4.02, and the last, 0.75
  EXPECT_NE(text.find("HOVER 0.750000"), std::string::npos);
  EXPECT_EQ(count(text, "liftoff"), 2);
  EXPECT_EQ(count(text, "MAIN"), 2);
  EXPECT_EQ(p.thinned(), 250 - 6);
  // Mission time shows from liftoff on, beside the simulation time.
  EXPECT_EQ(text.substr(0, text.find('\n')).find("T+"), std::string::npos) << text;
  EXPECT_NE(text.find("2.00 s      T+0.00  L1            liftoff"), std::string::npos) << text;
  EXPECT_NE(text.find("5.52 s      T+3.52  L1            group-level      MAIN 0.000000"), std::string::npos) << text;
}

TEST(event_printer, flushing_shows_a_level_still_held_back) {
  std::ostringstream out;
  EventPrinter p(out);
  p.event(level(0, "A", THGROUP_MAIN, 0.5));
  p.event(level(0.1, "A", THGROUP_MAIN, 0.6));
  p.event(level(0.1, "B", THGROUP_MAIN, 0.6));  // another vessel's group has its own second
  p.event(level(0.1, "B", THGROUP_HOVER, 0.6));  // and another group of the same vessel too
  EXPECT_EQ(count(out.str(), "MAIN"), 2);
  EXPECT_EQ(count(out.str(), "HOVER"), 1);
  p.flush();
  EXPECT_EQ(count(out.str(), "MAIN 0.6"), 2);
}
