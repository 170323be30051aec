// varnell fly end to end on a tree of the test's own: the terminal record and
// the files of --out, read back (the summary with nlohmann-json). And the
// terminal record's printer: a ramp of group levels shows a line per simulated
// second and its final level, while every other event shows as it comes, with
// the mission time once the vessel has lifted off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <tuple>

#include "sim/formats/text.h"
#include "sim/physics/aerodynamics.h"
#include "sim/pilot/instruments.h"
#include "sim/runner/commands.h"
#include "sim/runner/dry_tanks.h"
#include "sim/runner/record/event_printer.h"
#include "sim/runner/record/flight_files.h"
#include "sim/runner/record/summary.h"
#include "tests/support/runner.h"
#include "tests/support/tree.h"

using nlohmann::json;
using sim::runner::FlyOptions;

namespace {

// A probe on the ground, one in a 300 km circular orbit along the equator
// (which the ecliptic frame's elements give at J2000, the date of a scenario
// without one), and one escaping, whose name needs escaping in JSON and is
// not UTF-8 (a Latin-1 e acute).
const char kScenario[] =
    "BEGIN_DESC\nThree probes.\nEND_DESC\n"
    "BEGIN_FOCUS\n  Ship Pad\nEND_FOCUS\n"
    "BEGIN_SHIPS\n"
    "Pad:Probe\n  STATUS Landed Earth\n  POS 10 20\n  HEADING 90\nEND\n"
    "Sat:Probe\n  STATUS Orbiting Earth\n  ELEMENTS 6671010 0 23.439291000969778 180 180 180 51544.5\n  PRPLEVEL "
    "0:1\nEND\n"
    "Comet\"X\\Y\xe9:Probe\n  STATUS Orbiting Earth\n  RPOS 0 7000000 0\n  RVEL 20000 0 0\nEND\n"
    "END_SHIPS\n";

// Standing on its tail, nose up, as a rocket does.
const std::string kStandingProbe = std::string(kProbeClass) + "TouchdownPoints = 0 1 -2  -1 -1 -2  1 -1 -2\n";

const char kPilot[] =
    "# press B on the focus vessel, stop after two seconds\nat 0 key B\nat 2 end\n"
    "expect Sat status flight\nexpect Pad status crashed\n";

class flight_outputs : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.withProbe(kStandingProbe);
    tree.write("Scenarios/Test/Hop.scn", kScenario);
    tree.write("Scenarios/Test/Hop.pilot", kPilot);
  }
  FlyOptions hop(const char *scenario = "Scenarios/Test/Hop.scn") const {
    return flyOptions(tree.dir(), scenario, tree.path("out"));
  }
  ScratchTree tree;
};

// A field of telemetry.csv: the row that begins with "TIME,VESSEL", the column by name.
double field(const std::string &csv, const std::string &row, const std::string &column) {
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  const std::string header = "," + line + ",";
  const auto index = std::count(header.begin(), header.begin() + header.find("," + column + ","), ',');
  while (std::getline(in, line))
    if (line.rfind(row + ",", 0) == 0) {
      std::istringstream fields(line);
      std::string f;
      for (long i = 0; i <= index; ++i) std::getline(fields, f, ',');
      return f.empty() ? NAN : std::atof(f.c_str());
    }
  return NAN;
}

sim::Event level(double t, const std::string &vessel, THGROUP_TYPE group, double level) {
  sim::Event e{t, vessel, sim::EventKind::groupLevel, sim::groupName(group) + " " + std::to_string(level)};
  e.group = group;
  e.level = level;
  return e;
}

sim::Event liftoff(double t, const std::string &vessel) { return {t, vessel, sim::EventKind::liftoff, "thrust 1 N"}; }

// Two-body motion by fourth-order Runge-Kutta steps of 0.05 s, for comparison.
void coast(const sim::physics::Planet &p, VECTOR3 &r, VECTOR3 &v, double seconds) {
  const double h = std::copysign(0.05, seconds);
  auto acc = [&p](const VECTOR3 &at) { return at * (-p.gm / std::pow(length(at), 3)); };
  for (long n = std::lround(seconds / h); n > 0; --n) {
    const VECTOR3 a1 = acc(r), a2 = acc(r + v * (h / 2)), a3 = acc(r + (v + a1 * (h / 2)) * (h / 2));
    const VECTOR3 a4 = acc(r + (v + a2 * (h / 2)) * h);
    r += (v + (a1 + a2 + a3) * (h / 6)) * h;  // classical RK4 for r'' = a(r), written for r and v
    v += (a1 + (a2 + a3) * 2 + a4) * (h / 6);
  }
}

// The simulator's elements of a state (its left-handed frame: the momentum is
// v x r): a e i node periapsis-longitude mean-longitude [m, deg], at epoch.
std::string elementsOf(const sim::physics::Planet &p, const VECTOR3 &r, const VECTOR3 &v, double epoch) {
  const VECTOR3 h = crossp(v, r);
  const double a = 1 / (2 / length(r) - dotp(v, v) / p.gm);
  const VECTOR3 ev = r * (1 / length(r) - 1 / a) - v * (dotp(r, v) / p.gm);
  const double e = length(ev), node = std::atan2(h.x, -h.z);  // the ascending node lies along (-h.z, 0, h.x)
  double w = std::acos(dotp(_V(std::cos(node), 0, std::sin(node)), ev) / e);
  double nu = std::acos(dotp(ev, r) / (e * length(r)));
  if (ev.y < 0) w = 2 * M_PI - w;
  if (dotp(r, v) < 0) nu = 2 * M_PI - nu;
  const double ea = 2 * std::atan(std::sqrt((1 - e) / (1 + e)) * std::tan(nu / 2)), deg = 180 / M_PI;
  char text[256];
  std::snprintf(text, sizeof text, "ELEMENTS %.6f %.12f %.12f %.12f %.12f %.12f %.10f", a, e,
                std::acos(h.y / length(h)) * deg, node * deg, (node + w) * deg,
                (node + w + ea - e * std::sin(ea)) * deg, epoch);
  return text;
}

}  // namespace

TEST_F(flight_outputs, a_flight_writes_a_summary_that_reads_back_as_json_with_every_required_key) {
  const Flown f = fly(hop());
  ASSERT_EQ(f.status, sim::runner::kNotMet) << f.terminal << f.errors;  // the pad probe did not crash
  EXPECT_NE(f.terminal.find("apoapsis [km]"), std::string::npos);
  EXPECT_EQ(lastLine(f.terminal), "to see the flight, open " + tree.path("out/report.html"));

  const json s = json::parse(tree.read("out/summary.json"));
  EXPECT_EQ(s["scenario"].get<std::string>() + ": " + s["outcome"].get<std::string>(),
            "Scenarios/Test/Hop.scn: expectations not met");
  EXPECT_NEAR(s["sim_time_s"].get<double>(), 2.02, 1e-9);  // the step in which the end rule fired is flown
  EXPECT_EQ(s["steps"], 101);
  EXPECT_EQ(s["date"].get<std::string>().size(), 20u) << s["date"];  // 2025-03-01T14:05:09Z
  ASSERT_EQ(s["expectations"].size(), 2u);
  EXPECT_EQ(s["expectations"][0], (json{{"line", 4},
                                        {"text", "expect Sat status flight"},
                                        {"met", true},
                                        {"reached", true},
                                        {"found", "is flight"}}));
  EXPECT_EQ(s["expectations"][1]["met"], false);

  const json &events = s["events"];
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[0]["kind"], "pilot");
  EXPECT_EQ(events[1]["kind"].get<std::string>() + " " + events[1]["vessel"].get<std::string>(), "key Pad");
  EXPECT_EQ(events.back()["kind"], "end");
  EXPECT_NE(events.back()["detail"].get<std::string>().find("line 3"), std::string::npos);
  EXPECT_EQ(count(tree.read("out/events.csv"), "\n"), 1 + events.size());
  EXPECT_NE(tree.read("out/Varnell.log").find("scenario loaded"), std::string::npos);

  const json &vessels = s["vessels"];
  ASSERT_EQ(vessels.size(), 3u);
  const json &pad = vessels[0], &sat = vessels[1], &comet = vessels[2];
  EXPECT_EQ(pad["status"], "landed");
  EXPECT_TRUE(pad["created_t"].is_null() && pad["created_lat_deg"].is_null());
  for (const char *apsis : {"apoapsis_alt_m", "periapsis_alt_m"}) EXPECT_NEAR(sat[apsis].get<double>(), 300e3, 2e3);
  EXPECT_NEAR(sat["inclination_deg"].get<double>(), 0, 1e-6);
  EXPECT_EQ(sat["propellant_kg"], json::array({500}));
  EXPECT_EQ(comet["name"], "Comet\"X\\Y\xef\xbf\xbd");  // the byte that is no UTF-8 shown as U+FFFD
  EXPECT_TRUE(comet["apoapsis_alt_m"].is_null() && comet["period_s"].is_null() && comet["eccentricity"] > 1);

  // One row per vessel at 0, 1 and 2 s; a name with a quote in it is quoted.
  const std::string telemetry = tree.read("out/telemetry.csv");
  EXPECT_EQ(count(telemetry, "\n"), 1u + 3 * 3);
  EXPECT_NE(telemetry.find("\n2.0000,\"Comet\"\"X\\Y\xe9\",flight,"), std::string::npos) << telemetry;
  // What a user needs of the states: where, how fast up, how the air and the
  // engines push, the orbit's elements; worked out here from first principles.
  const sim::physics::Planet earth;
  // On the ground the nose (up) feels gravity, less what holds it to the planet's turn.
  const double padR = earth.radius + field(telemetry, "2.0000,Pad", "altitude_m"), lat = 20 * M_PI / 180;  // [m], [rad]
  const double w = 2 * M_PI / earth.siderealDay;                                                           // [rad/s]
  const double padG = (earth.gm / (padR * padR) - w * w * padR * std::cos(lat) * std::cos(lat)) / 9.80665;
  struct Field {
    const char *row, *column;
    double value, tolerance;
  };
  const Field fields[] = {{"2.0000,Pad", "latitude_deg", 20, 1e-6},
                          {"2.0000,Pad", "longitude_deg", 10, 1e-6},  // turning with the planet
                          {"2.0000,Pad", "axial_accel_g", padG, 2e-5},
                          {"2.0000,Pad", "vertical_speed_m_s", 0, 0},
                          {"2.0000,Sat", "semi_major_axis_m", 6671010, 1e3},
                          {"2.0000,Sat", "eccentricity", 0, 1e-3},
                          {"2.0000,Sat", "inclination_deg", 0, 0},  // eastward along the equator
                          {"2.0000,Sat", "axial_accel_g", 0, 0},    // falling freely
                          {"2.0000,Sat", "dynamic_pressure_pa", 0, 1e-2},
                          {"2.0000,Sat", "tank0_kg", 500, 0}};
  for (const Field &f : fields) EXPECT_NEAR(field(telemetry, f.row, f.column), f.value, f.tolerance) << f.column;
  EXPECT_TRUE(std::isnan(field(telemetry, "2.0000,Sat", "tank1_kg")));
  // Each column has decimals of its own, whatever the value: the Pad's row, field by field.
  const size_t padAt = telemetry.find("\n2.0000,Pad,") + 1;
  std::istringstream padRow(telemetry.substr(padAt, telemetry.find('\n', padAt) - padAt));
  std::string decimals;
  for (std::string f; std::getline(padRow, f, ',');)
    decimals += std::to_string(f.find('.') == std::string::npos ? 0 : f.size() - f.find('.') - 1);
  EXPECT_EQ(decimals, "400344444311666664251175300");  // the last tanks' fields empty

  sim::World again(tree.dir(), "");
  ASSERT_TRUE(again.loadScenario(tree.path("out/final.scn")));
  EXPECT_EQ(again.vessels().size(), 3u);
  EXPECT_EQ(again.log().errorCount(), 0);
}

// One row per vessel at each multiple of the interval, whatever the step.
TEST_F(flight_outputs, telemetry_has_one_row_per_vessel_at_each_sample_time) {
  // The step and the sample interval [s], and the times of the Sat's rows.
  for (const auto &[dt, sample, times] :
       {std::tuple<double, double, std::vector<std::string>>{0.02, 1, {"0.0000", "1.0000", "2.0000"}},
        {0.1, 0.5, {"0.0000", "0.5000", "1.0000", "1.5000", "2.0000"}},
        {0.1, 0.05, {}}}) {
    FlyOptions o = hop();
    o.dt = dt;
    o.sample = sample;
    fly(o);
    const std::string csv = tree.read("out/telemetry.csv");
    std::istringstream rows(csv);
    std::vector<std::string> sat;
    for (std::string row; std::getline(rows, row);)
      if (row.find(",Sat,") != std::string::npos) sat.push_back(row.substr(0, row.find(',')));
    if (times.empty()) {  // a sample shorter than the step: a row at every step's end, none twice
      EXPECT_EQ(sat.size(), 22u);
      EXPECT_EQ(std::set<std::string>(sat.begin(), sat.end()).size(), sat.size());
    } else
      EXPECT_EQ(sat, times) << dt << " " << sample;
    EXPECT_EQ(count(csv, "\n"), 1 + 3 * sat.size());
  }
}

// A spin of 1e300 degrees a second reads as a number, but no integration
// follows it: the flight stops with the vessel as it was read.
TEST_F(flight_outputs, a_vessel_that_diverges_stops_the_flight_and_no_output_holds_a_nan) {
  tree.write("Scenarios/Test/Spin.scn",
             "BEGIN_SHIPS\nCalm:Probe\n  STATUS Orbiting Earth\n  RPOS 6671010 0 0\n  RVEL 0 0 7729.9\nEND\n"
             "Spin:Probe\n  STATUS Orbiting Earth\n  RPOS 0 6671010 0\n  RVEL 7729.9 0 0\n  VROT 1e300 0 0\nEND\n"
             "END_SHIPS\n");
  FlyOptions o = hop("Scenarios/Test/Spin.scn");
  o.until = 10;
  const Flown f = fly(o);
  EXPECT_EQ(f.status, 4);  // the status --help and the README give a diverged flight
  EXPECT_NE(f.errors.find("varnell: the flight diverged"), std::string::npos) << f.errors;
  const json s = json::parse(tree.read("out/summary.json"));
  EXPECT_EQ(s["outcome"].get<std::string>() + ": " + s["ended_by"].get<std::string>(), "diverged: Spin diverged");
  EXPECT_NEAR(s["sim_time_s"].get<double>(), 0.02, 1e-12);
  EXPECT_NE(tree.read("out/events.csv").find(",Spin,diverged,"), std::string::npos);
  for (const char *file : {"summary.json", "events.csv", "telemetry.csv", "final.scn"})
    EXPECT_EQ(sim::lower(tree.read(std::string("out/") + file)).find("nan"), std::string::npos) << file;
  sim::World again(tree.dir(), "");
  ASSERT_TRUE(again.loadScenario(tree.path("out/final.scn")));
  EXPECT_EQ(again.find("Spin")->pos.y, 6671010);
}

// Without --until, a flight without a pilot stops at the default limit, one
// whose end rule is timed flies to it, however late, and one whose end rule
// never fires stops at the longer limit, saying so.
TEST_F(flight_outputs, a_flight_stops_at_its_time_limit_or_its_pilots_end_and_writes_nothing_unasked) {
  tree.write("Scenarios/Test/Alone.scn", kScenario);
  FlyOptions o = hop("Scenarios/Test/Alone.scn");
  o.outDir.clear();
  o.until = 1.5;
  o.dt = 0.1;
  const Flown f = fly(o);
  ASSERT_EQ(f.status, sim::runner::kSuccess);
  for (const char *said : {"pilot none", "time limit 1.5 s", "flew 1.50 s"})
    EXPECT_NE(f.terminal.find(said), std::string::npos) << said;
  EXPECT_EQ(lastLine(f.terminal), "nothing kept: --out DIR keeps the flight's record, with a report.html to see it in");
  EXPECT_FALSE(std::filesystem::exists(tree.path("out")));

  tree.write("Scenarios/Test/Far.scn",
             "BEGIN_SHIPS\nFar:Probe\n  STATUS Orbiting Earth\n  RPOS 6e7 0 0\n"
             "  RVEL 0 0 2577.5\nEND\nEND_SHIPS\n");
  for (const auto &[end, said] : {std::pair<std::string, std::string>{"at 172800 end", "Far.pilot line 2\n"},
                                  {"when altitude < 0 end",
                                   " s by the time limit, before its pilot program's end rule fired; --until SECONDS "
                                   "sets another limit\n"}}) {
    tree.write("Scenarios/Test/Far.pilot", "at 0 timewarp 1000\n" + end + "\n");
    const Flown far = fly(flyOptions(tree.dir(), "Scenarios/Test/Far.scn"));
    EXPECT_EQ(far.status, sim::runner::kSuccess) << far.errors;
    EXPECT_NE(far.terminal.find(said), std::string::npos) << far.terminal;
  }
}

// Nothing flies when the pilot program has errors, or a file named is not
// there, or the output folder cannot be made; each says where and why.
TEST_F(flight_outputs, bad_input_stops_the_flight_before_it_starts_saying_where_and_why) {
  tree.write("Scenarios/Test/Hop.pilot", "at 0 key B\nat soon end\n");
  const Flown f = fly(hop());
  EXPECT_EQ(f.status, sim::runner::kBadInput);
  EXPECT_NE(f.errors.find("varnell: Scenarios/Test/Hop.pilot:2: "), std::string::npos) << f.errors;
  EXPECT_EQ(f.terminal.find("flew"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(tree.path("out")));

  tree.write("Scenarios/Test/Hop.pilot", kPilot);
  const std::filesystem::path here = std::filesystem::current_path();
  const Flown lost = varnell({"fly", "Scenarios/Nope.scn", "--root", tree.dir()});
  EXPECT_EQ(lost.status, sim::runner::kBadInput);
  EXPECT_EQ(lastLine(lost.errors), "varnell: error: cannot open the scenario Scenarios/Nope.scn: there is no file " +
                                       (here / "Scenarios/Nope.scn").string() + " (from the current folder) nor " +
                                       (std::filesystem::current_path() / "Scenarios/Nope.scn").string() +
                                       " (from the simulator tree, --root)");
  const std::string pilot = tree.path("Nowhere.pilot"),
                    out = std::filesystem::absolute(tree.path("Hop.scn/out")).string();
  tree.write("Hop.scn", "");
  for (const auto &[args, said] :
       {std::pair<std::vector<std::string>, std::string>{
            {"check", "Scenarios/Test/Hop.scn", "--pilot", pilot},
            "varnell: error: cannot open the pilot program " + pilot + ": there is no file " + pilot},
        {{"fly", "Scenarios/Test/Hop.scn", "--out", out},
         "varnell: error: cannot make the output folder " + out + ": " +
             std::filesystem::path(out).parent_path().string() + " is a file, not a folder"}}) {
    std::vector<std::string> withRoot = args;
    withRoot.insert(withRoot.end(), {"--root", tree.dir()});
    const Flown bad = varnell(withRoot);
    EXPECT_EQ(bad.status, sim::runner::kBadInput);
    EXPECT_EQ(lastLine(bad.errors), said);
    EXPECT_EQ(bad.terminal.find("flew"), std::string::npos);
  }
}

TEST_F(flight_outputs, an_engine_that_burns_its_tank_dry_shows_in_the_events_and_the_telemetry) {
  tree.withFixtureModule();  // 111 kg empty, 50 kg of propellant, two 1000 N engines of 3000 m/s
  tree.write("Config/Vessels/Probe.cfg", "Module = Fixture\n");
  tree.write("Scenarios/Test/Burn.scn",
             "BEGIN_SHIPS\nP:Probe\n  STATUS Orbiting Earth\n  RPOS 6671010 0 0\n  RVEL 0 0 7729.9\n  AROT 30 40 50\n"
             "  PRPLEVEL 0:1\nEND\n"
             "END_SHIPS\n");
  // 50 kg at 2 x 1000 N / 3000 m/s last 75 s.
  tree.write("Scenarios/Test/Burn.pilot",
             "at 0 throttle main 1\nat 80 end\nexpect event P tank-dry \"tank 0 (MAIN)\" at 75 within 0.03\n");
  const Flown f = fly(hop("Scenarios/Test/Burn.scn"));
  EXPECT_EQ(f.status, sim::runner::kSuccess) << f.terminal << f.errors;
  const std::string telemetry = tree.read("out/telemetry.csv");
  for (const char *row : {"1.0000,P", "60.0000,P"}) {
    EXPECT_EQ(field(telemetry, row, "thrust_n"), 2000);
    EXPECT_NEAR(field(telemetry, row, "axial_accel_g"), 2000 / field(telemetry, row, "mass_kg") / 9.80665, 1e-5);
  }
  EXPECT_EQ(field(telemetry, "76.0000,P", "thrust_n"), 0);
}

// A row read by its columns' names: a vessel 1000 km up, 7000 m/s east and
// 100 m/s up, pitched up 30 degrees on a heading of 60, with four tanks and its
// main, retro and hover groups at three levels, so that no two neighbouring
// columns hold the same value and a value out of its place shows.
TEST(telemetry, each_column_holds_what_its_name_says) {
  ScratchWorld w;
  const sim::physics::Planet &earth = w->planet;
  const VECTOR3 axis = w->planetPose().axis(), up = unit(_V(3, 4, 12));
  const sim::pilot::Horizon h = sim::pilot::horizonAt(up, axis);
  const double r = earth.radius + 1e6, deg = M_PI / 180;  // [m]
  sim::Vessel *v = flying(*w, "V", up * r, h.east * 7000 + h.up * 100);
  v->rot = sim::pilot::frameFor(30 * deg, 60 * deg, h);
  v->tanks = {{901, 10, 10, 1}, {902, 20, 20, 1}, {903, 30, 30, 1}, {904, 40, 40, 1}};
  // Main 2000 N along the nose at half, retro 400 N at a quarter, hover 1000 N at three quarters.
  v->thrusters = {{911, {}, _V(0, 0, 1), 2000, 901, 3000, 0, 0, 0.5, 0, 0.5},
                  {912, {}, _V(0, 0, -1), 400, 901, 3000, 0, 0, 0.25, 0, 0.25},
                  {913, {}, _V(0, 1, 0), 1000, 901, 3000, 0, 0, 0.75, 0, 0.75}};
  v->groups = {{921, THGROUP_MAIN, {911}}, {922, THGROUP_RETRO, {912}}, {923, THGROUP_HOVER, {913}}};
  const VECTOR3 low = up * (earth.radius + 1000);  // nose first into the air at 100 m/s, engines off
  const sim::Vessel *g = flying(*w, "G", low, sim::physics::airVelocity(w->planetSpin(), low) + _V(0, 0, 100));
  sim::runner::FlightFiles(w.dir()).sample(*w);
  const double a = 1 / (2 / r - (7000 * 7000 + 100 * 100) / earth.gm);  // [m]
  const double e = std::sqrt(1 - r * r * 7000 * 7000 / (earth.gm * a)), apo = a * (1 + e) - earth.radius;
  const double speed = std::hypot(7000, 100), lat = std::asin(dotp(up, axis)) / deg, axial = 900 / 1100.0 / 9.80665;
  const double thrust = std::hypot(900, 750);  // [N]: main less retro along the nose, hover square to it
  // Every other column, each unlike its neighbours, to a part in 10^4.
  const std::pair<const char *, double> want[] = {
      {"altitude_m", 1e6},         {"speed_m_s", speed},     {"pitch_deg", 30},
      {"heading_deg", 60},         {"mass_kg", 1100},        {"apoapsis_alt_m", apo},
      {"main_level", 0.5},         {"hover_level", 0.75},    {"latitude_deg", lat},
      {"vertical_speed_m_s", 100}, {"axial_accel_g", axial}, {"thrust_n", thrust},
      {"eccentricity", e},         {"tank0_kg", 10},         {"tank2_kg", 30}};
  const std::string csv = w.read("telemetry.csv");
  for (const auto &[column, value] : want)
    EXPECT_NEAR(field(csv, "0.0000,V", column), value, 1e-4 * value + 1e-5) << column << "\n" << csv;
  const double drag = field(csv, "0.0000,G", "dynamic_pressure_pa") * g->crossSections.z * g->cwZPos / 2;  // [N]
  EXPECT_NEAR(field(csv, "0.0000,G", "axial_accel_g"), -drag / g->mass() / 9.80665, 1e-5);
}

// A vessel made in flight, even at 0 s, gives when it was made and the orbit it started on.
TEST(flight_summary, a_vessel_made_at_the_start_of_a_flight_gives_the_orbit_it_started_on) {
  ScratchWorld w;
  flying(*w, "Made", _V(6671010, 0, 0), _V(0, 0, 7729.9));
  const std::vector<sim::pilot::Expectation> none;
  const std::vector<sim::runner::ExpectationResult> found;
  const json made = json::parse(sim::runner::summaryJson(*w, {}, {}, {none, found}))["vessels"][0];
  EXPECT_EQ(made["created_t"], 0);
  EXPECT_NEAR(made["created_periapsis_alt_m"].get<double>(), 300e3, 2e3);
}

// A tank deleted moves the later ones up; one of them that runs dry in the
// same step has still held propellant, and is named by its new place.
TEST(dry_tank_watch, a_tank_that_runs_dry_as_one_before_it_goes_is_seen_at_its_new_place) {
  ScratchTree tree;
  tree.withProbe(kBareProbe);
  const std::unique_ptr<sim::World> w = tree.world();
  sim::Vessel *v = w->createVessel("P", "Probe", nullptr);
  ASSERT_NE(v, nullptr);
  PROPELLANT_HANDLE first = v->iface->CreatePropellantResource(10), second = v->iface->CreatePropellantResource(10);
  THRUSTER_HANDLE engine = v->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 100, second, 3000);
  v->iface->CreateThrusterGroup(&engine, 1, THGROUP_MAIN);
  sim::runner::DryTankWatch watch;
  watch.afterStep(*w);
  v->iface->DelPropellantResource(first);
  v->tanks[0].mass = 0;  // the second, now the first
  watch.afterStep(*w);
  const sim::Event &last = w->record().events().back();
  EXPECT_EQ(std::make_tuple(last.vessel, last.kind, last.detail),
            std::make_tuple(std::string("P"), sim::EventKind::tankDry, std::string("tank 0 (MAIN)")));
}

TEST_F(flight_outputs, a_report_from_a_damaged_record_names_the_file_and_line_and_is_not_written) {
  ASSERT_EQ(fly(hop()).status, sim::runner::kNotMet);
  struct Damage {
    const char *file, *from, *to, *message;
  } damages[] = {
      {"telemetry.csv", "\n1.0000,Pad,landed,", "\n1.0000,Pad,landed,x", "telemetry.csv:5: altitude_m \"x"},
      {"telemetry.csv", "\n2.0000,Sat,", "\n2.0000,Sat\n", "telemetry.csv:9: 2 fields where the header has"},
      {"events.csv", "\n", "\n\"Pad,", "events.csv:2: a quote opened here is not closed"},
      {"summary.json", "\"scenario\":", "\"scenario\"",
       "summary.json: [json.exception.parse_error.101] parse error at line 2"},
  };
  for (const Damage &d : damages) {
    SCOPED_TRACE(d.message);
    std::filesystem::remove_all(tree.path("bad"));
    std::filesystem::copy(tree.path("out"), tree.path("bad"));
    std::filesystem::remove(tree.path("bad/report.html"));
    std::string text = tree.read(std::string("out/") + d.file);
    text.replace(text.find(d.from), std::string(d.from).size(), d.to);
    tree.write(std::string("bad/") + d.file, text);
    std::ostringstream out;
    try {
      sim::runner::runReport({tree.path("bad")}, out);
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error &e) {
      EXPECT_NE(std::string(e.what()).find(d.message), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(tree.path("bad/report.html")));
  }
  std::ostringstream out;
  EXPECT_EQ(sim::runner::runReport({tree.path("out")}, out), 0);
  EXPECT_NE(out.str().find("report.html ("), std::string::npos) << out.str();
}

TEST(event_printer, a_ramp_of_group_levels_shows_once_a_second_and_ends_on_its_last_level) {
  std::ostringstream out;
  sim::runner::EventPrinter p(out);
  // A level held back shows once its second has passed, though no level comes after it.
  p.event(level(0.01, "L2", THGROUP_RETRO, 0.5));
  p.event(level(0.5, "L2", THGROUP_RETRO, 0.25));
  p.catchUp(1.01);
  EXPECT_EQ(count(out.str(), "RETRO"), 2u) << out.str();
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
  EXPECT_EQ(count(text, "HOVER"), 6u) << text;  // at 0.02, 1.02, ..., 4.02, and the last, 0.75
  EXPECT_NE(text.find("HOVER 0.750000"), std::string::npos);
  EXPECT_EQ(count(text, "liftoff"), 2u);
  EXPECT_EQ(count(text, "MAIN"), 2u);
  EXPECT_EQ(p.thinned(), 250 - 6);
  // Mission time shows from liftoff on, beside the simulation time.
  EXPECT_EQ(text.substr(0, text.find('\n')).find("T+"), std::string::npos) << text;
  EXPECT_NE(text.find("2.00 s      T+0.00  L1            liftoff"), std::string::npos) << text;
  EXPECT_NE(text.find("5.52 s      T+3.52  L1            group-level      MAIN 0.000000"), std::string::npos) << text;
}

// The ISS as the simulator's 2016 welcome scenario places it, in the global
// (ecliptic J2000) frame, given by its state and again by its elements, these
// half a day before the scenario's date, which is given in each of the
// simulator's three ways: each flies the orbit the simulator shows (51.55 deg
// to the equator), as two-body motion carries it on. Its tank is empty, as
// the scenario lists no level for it.
TEST(simulator_frame, the_iss_state_of_the_simulators_welcome_scenario_flies_its_orbit) {
  ScratchTree tree;
  for (const char *file : {"Config/Vessels/Varnell/Sat.cfg", "Meshes/Varnell/Sat.msh"}) tree.copyFromBuiltTree(file);
  const sim::physics::Planet earth;
  const double mjd = 57457.6602778935;
  VECTOR3 r = _V(1846703.870, -3065074.367, -5699294.909), v = _V(5832.8256, -3385.2501, 3714.3797);
  coast(earth, r, v, -43200);
  const std::string elements = elementsOf(earth, r, v, mjd - 0.5);
  coast(earth, r, v, 43200 + 10);
  const std::pair<const char *, std::string> cases[] = {
      {"MJD 57457.6602778935", "RPOS 1846703.870 -3065074.367 -5699294.909\n  RVEL 5832.8256 -3385.2501 3714.3797"},
      {"JD 2457458.1602778935", elements},
      {"JE 2016.189350521269", elements}};
  for (const auto &[date, state] : cases) {
    SCOPED_TRACE(date);
    tree.write("ISS.scn", std::string("BEGIN_ENVIRONMENT\n  Date ") + date + "\nEND_ENVIRONMENT\nBEGIN_SHIPS\n" +
                              "ISS:Varnell\\Sat\n  STATUS Orbiting Earth\n  " + state + "\nEND\nEND_SHIPS\n");
    FlyOptions o = flyOptions(tree.dir(), tree.path("ISS.scn"), tree.path("out"));
    o.until = 10;
    const Flown f = fly(o);
    ASSERT_EQ(f.status, sim::runner::kSuccess) << f.errors;
    EXPECT_NE(f.errors.find("ISS lists no PRPLEVEL"), std::string::npos) << f.errors;
    const json iss = json::parse(tree.read("out/summary.json"))["vessels"][0];
    EXPECT_NEAR(iss["inclination_deg"].get<double>(), 51.553, 0.01);
    EXPECT_EQ(iss["mass_kg"].get<double>(), 600);
    sim::World saved(tree.dir(), "");
    ASSERT_TRUE(saved.loadScenario(tree.path("out/final.scn")));
    EXPECT_LT(length(saved.find("ISS")->pos - r), 1.0);
    EXPECT_LT(length(saved.find("ISS")->vel - v), 1e-3);
  }
}
