// The payload manager's own interface, for vessels built on it, through a
// carrier of this test's own on a plain vessel of the host: the keywords it
// hands on, the payload mass and its centre, the one-shot release velocity,
// vessels made at a point of the carrier, the last message received; and
// thousands of random and mutated manifest lines through both ways in. Under
// the sanitizer build no line may reach past a buffer; in any build an entry
// taken in must hold exactly the nine fields its line wrote, as a reader of
// this test's own finds them, and a line turned away must say so in the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "payload/common_vessel_ex.h"
#include "tests/support/launcher.h"

namespace {

// A carrier that keeps what it is handed as other keywords.
struct Carrier : COMMON_VESSEL_EX {
  using COMMON_VESSEL_EX::COMMON_VESSEL_EX;
  void ParseOtherKeyword(char *keyword, char *line) override { seen.push_back(std::string(keyword) + "|" + line); }
  std::vector<std::string> seen;
};

class payload_manager : public ::testing::Test {
 protected:
  void SetUp() override {
    host = flying(world, "C", _V(7000000, 0, 0), _V(0, 7546, 0), _V(0.01, 0.02, 0.03), "Varnell\\Sat");
    ASSERT_NE(host, nullptr);
    carrier = std::make_unique<Carrier>(host);
  }
  sim::World world{".", ""};
  Messages messages;  // held, so that the carriers' binding to it is never the last
  sim::Vessel *host = nullptr;
  std::unique_ptr<Carrier> carrier;
};

TEST_F(payload_manager, other_keywords_go_on_with_their_line) {
  for (const char *line : {"CONFIGURATION 1", "payload x y z 0 0 0 1 0 1", "ENDSTAGEX", "PAYLOAD", "  NOTE a b"})
    carrier->ParseScenarioLine(line);
  EXPECT_EQ(carrier->seen, (std::vector<std::string>{"CONFIGURATION|CONFIGURATION 1", "payload|payload x y z 0 0 0 1 0 1",
                                                     "ENDSTAGEX|ENDSTAGEX", "NOTE|  NOTE a b"}));
}

TEST_F(payload_manager, the_payload_mass_has_its_centre_at_the_mass_weighted_mean_offset) {
  VECTOR3 centre = _V(1, 1, 1);
  EXPECT_EQ(carrier->GetPayloadMass(centre), 0);
  expectVector(centre, 0, 0, 0);
  carrier->ParseScenarioLine("PAYLOAD A Varnell\\Sat Varnell\\Sat 0 0 3 1000 0 1");
  carrier->ParseScenarioLine("PAYLOAD B Varnell\\Sat Varnell\\Sat 0 0 7 3000 0 1");
  EXPECT_EQ(carrier->GetPayloadMass(centre), 4000);
  expectVector(centre, 0, 0, 6);
}

// Armed, the velocity serves the next release that gets as far as the vessel,
// whichever entry it is, and no other.
TEST_F(payload_manager, a_release_velocity_set_serves_one_release_and_survives_a_refused_one) {
  for (const char *line : {"PAYLOAD P1 Varnell\\Sat Varnell\\Sat 0 0 3 100 0 1",
                           "PAYLOAD P2 Varnell\\Sat Varnell\\Sat 0 0 4 100 0 1",
                           "PAYLOAD Lost Varnell\\Sat Nowhere 0 0 5 100 0 1"})
    carrier->ParseScenarioLine(line);
  carrier->AddPayloadMeshes(_V(0, 0, 0));
  carrier->SetReleaseVelocity(_V(0, 3, 0));
  EXPECT_EQ(carrier->ReleaseNextStage(), nullptr);
  std::strcpy(carrier->entries[2].className, "Varnell\\Sat");
  for (const char *name : {"Lost", "P2", "P1"}) {
    ASSERT_NE(carrier->ReleaseNextStage(), nullptr) << name;
    expectNear(velocityFrom(*host, *world.find(name)), std::string(name) == "Lost" ? _V(0, 3, 0) : _V(0, 0, 0.5),
               1e-9, name);
  }
}

// At a point of the carrier, with its motion plus a push and a turn rate
// added, engines off.
TEST_F(payload_manager, a_vessel_made_at_a_point_of_the_carrier_moves_with_it_plus_what_is_added) {
  host->iface->SetThrusterGroupLevel(THGROUP_MAIN, 1);
  VESSEL *made = carrier->CreateVesselAt("M", "Varnell\\Sat", _V(1, 2, 3), _V(0, 0, 2), _V(0.1, 0, 0));
  const sim::Vessel *m = world.find("M");
  ASSERT_TRUE(made && m);
  EXPECT_EQ(m->iface, made);
  expectNear(placeFrom(*host, *m), _V(1, 2, 3));
  expectNear(velocityFrom(*host, *m), _V(0, 0, 2));
  expectNear(m->omega, _V(0.11, 0.02, 0.03));
  EXPECT_EQ(m->givenStatus.eng_main + m->givenStatus.eng_hovr, 0);
  EXPECT_EQ(carrier->CreateVesselAt("N", "Nowhere", _V(0, 0, 0), _V(0, 0, 0), _V(0, 0, 0)), nullptr);
}

TEST_F(payload_manager, the_last_message_taken_in_is_handed_back_when_asked_for) {
  carrier->SendManifestMessage(carrier.get(), "PAYLOAD", "PAYLOAD m1 Varnell\\Sat Varnell\\Sat 0 0 2 100 0 1");
  carrier->SendManifestMessage(carrier.get(), "NOTES", "for someone else");
  carrier->SendManifestMessage(carrier.get(), "PAYLOAD", "");
  char key[256] = "unset", line[2048] = "unset";
  EXPECT_TRUE(carrier->ReceiveManifestMessages(key, line));
  EXPECT_STREQ(key, "NOTES");
  EXPECT_STREQ(line, "for someone else");
  EXPECT_EQ(carrier->seen, std::vector<std::string>{"NOTES|for someone else"});
  EXPECT_FALSE(carrier->ReceiveManifestMessages());
}

const size_t READ = 511;  // characters of a line the reader looks at

// What a line writes, read with streams: the nine fields of a payload or stage
// line, or nothing when it is no such line or a field is not whole.
struct Written {
  bool entryLine = false;  // starts with its keyword and blank
  bool whole = false;      // and all nine fields read
  unsigned short kind = 0;
  std::string words[3];
  double numbers[6] = {};
};

Written readAsWritten(const std::string &line) {
  Written w;
  const std::string text = line.substr(0, std::min(line.find('\0'), READ));
  const bool cut = std::min(line.find('\0'), line.size()) > READ;
  const std::string rest = text.substr(std::min(text.find_first_not_of(" \t\n\v\f\r"), text.size()));
  const char *const keywords[] = {"PAYLOAD ", "STAGE "};
  for (unsigned short kind = 0; kind < 2; ++kind) {
    if (rest.rfind(keywords[kind], 0) != 0) continue;
    w.entryLine = true;
    w.kind = kind;
    std::istringstream in(rest.substr(std::string(keywords[kind]).size()));
    std::vector<std::string> f;
    for (std::string word; f.size() < 9 && in >> word;) f.push_back(word);
    if (f.size() < 9 || (cut && in.eof())) return w;
    for (int i = 0; i < 3; ++i)
      if (f[i].size() > 127) return w;
    for (int i = 0; i < 6; ++i) {
      char *end = nullptr;
      w.numbers[i] = std::strtod(f[3 + i].c_str(), &end);
      if (*end || end == f[3 + i].c_str() || !std::isfinite(w.numbers[i])) return w;
    }
    std::copy(f.begin(), f.begin() + 3, w.words);
    w.whole = true;
  }
  return w;
}

class LineMaker {
 public:
  explicit LineMaker(unsigned seed) : rng_(seed) {}
  size_t pick(size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(rng_) : 0; }
  std::string bytes(size_t n) {
    std::string s;
    while (s.size() < n) s += char(1 + pick(255));
    return s;
  }
  std::string key() {
    const char *const keys[] = {"PAYLOAD", "STAGE", "ENDSTAGE", "ENDCVE", "payload", "NOTE"};
    return pick(10) == 0 ? bytes(pick(300)) : keys[pick(6)];
  }
  // A payload or stage line with odd numbers, long words, fields missing or
  // extra, odd blanks, flipped bytes, or far too long; or bytes alone.
  std::string next() {
    if (pick(8) == 0) return bytes(pick(700));
    const char *const odd[] = {"1e308", "1e309",  "-1e400", "nan", "inf",   "-Infinity", "0x1p4",
                               "1.5x",  "1e-400", "--1",    ".",   "+.5e3", "7,5"};
    const char *const blanks[] = {" ", "  ", "\t", " \t\v ", "\r\n"};
    std::vector<std::string> f = {pick(2) ? "PAYLOAD" : "STAGE"};
    for (int i = 0; i < 3; ++i) f.push_back(word(pick(10) ? 1 + pick(20) : 100 + pick(60)));
    for (int i = 0; i < 6; ++i)
      f.push_back(pick(8) ? std::to_string(std::uniform_real_distribution<double>(-1e4, 1e4)(rng_)) : odd[pick(13)]);
    if (pick(5) == 0) f.erase(f.begin() + 1 + pick(f.size() - 1), f.end());
    if (pick(8) == 0) f.push_back(word(pick(40)));
    if (pick(8) == 0 && f.size() > 1) f[1 + pick(f.size() - 1)] += std::string(450, '9');  // past the 511 read
    std::string line = std::string(pick(10) == 0 ? pick(4) : 0, pick(2) ? ' ' : '\t') + f[0];
    for (size_t i = 1; i < f.size(); ++i) line += (i > 1 || pick(8) == 0 ? blanks[pick(5)] : " ") + f[i];
    for (size_t flips = pick(3) == 0 ? 1 + pick(3) : 0; flips; --flips) line[pick(line.size())] = char(1 + pick(255));
    return pick(20) == 0 ? line + std::string(2100, 'x') : line;  // longer than a message holds
  }

 private:
  std::string word(size_t length) {
    const std::string alphabet = "abcXYZ_019\\/.-+\x7f\xc3\xa9";
    std::string s;
    while (s.size() < length) s += alphabet[pick(alphabet.size())];
    return s;
  }
  std::mt19937 rng_;
};

// Each line to a carrier of its own, so that no line's state reaches the next.
class manifest_reader_random : public payload_manager {
 protected:
  // The line went in through `how`; was it taken in as written, or turned away aloud?
  void expectReadAsWritten(const std::string &line, bool dispatched, size_t logBefore, const char *how) {
    const Written w = readAsWritten(line);
    const PAYLOAD_ENTRY &e = carrier->entries[0];
    const bool taken = dispatched && w.entryLine && w.whole;
    ASSERT_EQ(e.used, taken) << how << ": " << testing::PrintToString(line);
    for (int i = 1; i < MAX_PAYLOAD_ENTRIES; ++i) ASSERT_FALSE(carrier->entries[i].used);
    if (taken) {
      EXPECT_EQ(e.kind, w.kind);
      EXPECT_EQ(e.name, w.words[0]);
      EXPECT_EQ(e.mesh.meshName, w.words[1]);
      EXPECT_EQ(e.className, w.words[2]);
      const double got[6] = {e.mesh.offset.x, e.mesh.offset.y, e.mesh.offset.z, e.mass, e.rotAngle, e.fuel};
      for (int i = 0; i < 6; ++i) EXPECT_EQ(got[i], w.numbers[i]) << how << " field " << 3 + i;
    }
    const auto &log = world.log().lines();
    const bool rejected = std::any_of(log.begin() + logBefore, log.end(), [](const std::string &s) {
      return s.find("manifest line rejected") != std::string::npos;
    });
    EXPECT_EQ(rejected, dispatched && w.entryLine && !w.whole) << how << ": " << testing::PrintToString(line);
  }
};

TEST_F(manifest_reader_random, scenario_lines_are_taken_in_as_written_or_turned_away) {
  LineMaker make(20240611);
  for (int i = 0; i < 5000 && !HasFatalFailure(); ++i) {
    carrier = std::make_unique<Carrier>(host);
    const std::string line = make.next();
    const size_t logBefore = world.log().lines().size();
    carrier->ParseScenarioLine(line.c_str());
    expectReadAsWritten(line, true, logBefore, "scenario");
  }
}

TEST_F(manifest_reader_random, messages_are_taken_in_as_written_or_turned_away) {
  LineMaker make(1187);
  const std::string manifestKeys[] = {"PAYLOAD", "STAGE", "ENDSTAGE", "ENDCVE"};
  for (int i = 0; i < 3000 && !HasFatalFailure(); ++i) {
    carrier = std::make_unique<Carrier>(host);
    const std::string key = make.key(), line = make.next();
    const std::string delivered = line.substr(0, std::min(line.find('\0'), size_t(2047)));
    const size_t logBefore = world.log().lines().size();
    carrier->SendManifestMessage(carrier.get(), key.c_str(), line.c_str());
    char lastKey[256] = "unset", lastLine[2048] = "unset";
    ASSERT_EQ(carrier->ReceiveManifestMessages(lastKey, lastLine), !delivered.empty());
    if (!delivered.empty()) {
      EXPECT_EQ(lastKey, key.substr(0, 255));
      EXPECT_EQ(lastLine, delivered);
    }
    const bool dispatched = std::count(std::begin(manifestKeys), std::end(manifestKeys), key) > 0;
    expectReadAsWritten(delivered, dispatched, logBefore, "message");
  }
}

}  // namespace
