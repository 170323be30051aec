// varnell check and the check before varnell fly: each bad input reported at
// its file and line, as an error or a warning, with the real launcher module
// reading its own lines; a scenario with an error is not flown.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <tuple>

#include "sim/formats/scenario_file.h"
#include "sim/formats/text.h"
#include "sim/runner/commands.h"
#include "tests/support/runner.h"
#include "tests/support/tree.h"

namespace {

using sim::runner::kBadInput;
using sim::runner::kSuccess;

// Line numbers matter: the table below names them.
const char kScenario[] =
    "BEGIN_SHIPS\n"                                                      // 1
    "L1:Varnell\n"                                                       // 2
    "  STATUS Landed Earth\n"                                            // 3
    "  PSO -80.6 28.6\n"                                                 // 4  no reader
    "  HEADNG 90\n"                                                      // 5  no reader
    "  FAIRNG 1\n"                                                       // 6  no reader
    "  CONFIGURATION 0\n"                                                // 7
    "  STAGE D1 Varnell\\Dispenser Varnell\\Dispenser 0 0 25 450 0 1\n"  // 8
    "  PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0.8 0 27.2 -700 0 1\n"     // 9  a mass below 0
    "  PAYLOAD\tSat2 Varnell\\Sat Varnell\\Sat 0.8 0 27.2 700 0 1\n"     // 10 a tab after the keyword
    "  PAYLOAD Sat3 Nowhere\\Mesh Varnell\\Sat 0 0 27 700 0 1\n"         // 11 no such mesh
    "  PAYLOAD Sat4 Varnell\\Sat Nowhere\\Class 0 0 27 10 0 1\n"         // 12 no such class
    "  PAYLOAD Sat5 Varnell\\Sat Test\\Heavy 0 0 27 10 0 1\n"            // 13 its class has Mass = nan
    "  PAYLOAD Sat6 Varnell\\Sat Varnell\\Sat -0.8 0 27.2 700 0 1\n"     // 14
    "  ENDSTAGE\n"                                                       // 15
    "  PRPLEVEL 0:1 7:1 4294967296:1\n"                                  // 16 no tank 7; an index past an int
    "END\n"                                                              // 17
    "Odd:Test\\Odd\n"                                                    // 18 Size -3, Inertia 0 0 0
    "  STATUS Orbiting Earth\n"                                          // 19
    "  RPOS 6671010 1e-320 0\n"                                          // 20 underflow: as good as 0
    "  RVEL nan 0 7700\n"                                                // 21
    "  POS 0 91\n"                                                       // 22 beyond a pole
    "END\n"                                                              // 23
    "Lost:Nowhere\\Ghost\n"                                              // 24 no class file
    "END\n"                                                              // 25
    "Meshy:Test\\Meshy\n"                                                // 26 its mesh counts past an int
    "END\n"                                                              // 27
    "Adrift:Test\\Odd\n"                                                 // 28
    "  STATUS Orbiting Earth\n"                                          // 29 and no position
    "  ELEMENTS 6671010 1.5 0 0 0 0 51544.5\n"                           // 30 no orbit: a > 0 with e > 1
    "END\n"                                                              // 31
    "Dry:Test\\Tank\n"                                                   // 32 a tank and no PRPLEVEL
    "  STATUS Landed Earth\n"                                            // 33
    "  RCSMODE 3\n"                                                      // 34 no such mode
    "END\n"                                                              // 35
    "END_SHIPS\n";                                                       // and no date

const char kPilot[] = "vessel l1\nat 0 key B\nvessel Sat9\nwhen exists Sat9 key J\nvessel D1\nat 5 key J\nat 9 end\n";

class scenario_check : public ::testing::Test {
 protected:
  void SetUp() override {
    // The built tree's class files, meshes and modules, for the real launcher.
    for (const char *folder : {"Config", "Meshes", "Modules"})
      std::filesystem::copy(folder, tree.path(folder), std::filesystem::copy_options::recursive);
    tree.write("Config/Vessels/Test/Heavy.cfg", "Mass = nan\nMaxFuel = 100\n");
    tree.write("Config/Vessels/Test/Odd.cfg", "Mass = 10\nSize = -3\nInertia = 0 0 0\n");
    tree.write("Config/Vessels/Test/Meshy.cfg", "Mass = 10\nMeshName = Test\\Big\n");
    tree.write("Config/Vessels/Test/Tank.cfg", "Mass = 10\nMaxFuel = 100\n");
    tree.write("Meshes/Test/Big.msh", "MSHX1\nGROUPS 1\nGEOM 4294967299 1\n0 0 0\n1 0 0\n0 1 0\n0 1 2\n");
    tree.write("Scenarios/Bad.scn", kScenario);
    tree.write("Scenarios/Bad.pilot", kPilot);
  }
  int check(const std::string &scenario) {
    std::ostringstream out;
    const int status = sim::runner::runCheck({scenario, "", tree.dir()}, out);
    report = out.str();
    return status;
  }
  int flyIt(const std::string &scenario) {
    const Flown f = fly(flyOptions(tree.dir(), scenario, tree.path("out")));
    report = f.errors;
    return f.status;
  }
  ScratchTree tree;
  std::string report;
};

}  // namespace

TEST_F(scenario_check, each_bad_input_is_an_error_or_a_warning_at_its_file_and_line) {
  const std::string scn = "Scenarios/Bad.scn:", cfg = "Config/Vessels/Test/";
  // Where (the file, a colon and the line), a fragment of the message, and whether it is a warning.
  const std::tuple<std::string, std::string, bool> expected[] = {
      {scn + "4", "no reader takes this line of L1", true},
      {scn + "5", "\"HEADNG 90\"", true},
      {scn + "6", "\"FAIRNG 1\"", true},
      {scn + "9", "L1: manifest line rejected, the mass is below 0", false},
      {scn + "10", "L1: manifest line rejected, its keyword is not", false},
      {scn + "11", "Nowhere/Mesh.msh: cannot open mesh", false},
      {scn + "12", "payload Sat4 of class \"Nowhere\\Class\"", false},
      {scn + "13", cfg + "Heavy.cfg:1: Mass needs 1 number(s), got \"nan\"", false},
      {scn + "16", "\"4294967296:1\" is not index:level", false},
      {scn + "21", "RVEL needs 3 finite number(s)", false},
      {scn + "22", "POS: \"91\" is beyond 90", false},
      {scn + "24", "vessel Lost skipped", false},
      {scn + "29", "Adrift is orbiting with neither RPOS nor ELEMENTS", false},
      {scn + "30", "ELEMENTS describe no orbit", false},
      {scn + "32", "Dry lists no PRPLEVEL: its tanks start empty, as the simulator loads it", true},
      {scn + "34", "RCSMODE is 0 (off), 1 (rotation) or 2 (linear)", false},
      {"Scenarios/Bad.scn", "no Date in BEGIN_ENVIRONMENT: the scenario starts at MJD 51544.5", true},
      {cfg + "Odd.cfg:2", "Size must be above 0, got \"-3\"", false},
      {cfg + "Odd.cfg:3", "Inertia must be above 0", false},
      {"Meshes/Test/Big.msh:3", "bad vertex count \"4294967299\"", false},
      {"Scenarios/Bad.pilot:2", "no vessel named \"l1\"", true},
      {"Scenarios/Bad.pilot:4", "no vessel named \"Sat9\"", true},
  };
  EXPECT_EQ(check("Scenarios/Bad.scn"), kBadInput);
  for (const auto &[where, fragment, warning] : expected) {
    const size_t at = report.find(where + ": ");
    ASSERT_NE(at, std::string::npos) << where << "\n" << report;
    const std::string line = report.substr(report.rfind('\n', at) + 1, report.find('\n', at) - report.rfind('\n', at));
    EXPECT_EQ(line.rfind("warning: ", 0) == 0, warning) << line;
    EXPECT_NE(report.find(fragment, at), std::string::npos) << where << ": " << fragment << "\n" << report;
  }
  for (int fine : {3, 7, 8, 14, 15, 20})
    EXPECT_EQ(report.find(scn + std::to_string(fine) + ": "), std::string::npos) << fine << "\n" << report;
  EXPECT_NE(report.find("L1 has no tank 7; level passed over"), std::string::npos) << report;
  EXPECT_NE(report.find(" error(s), 8 warning(s)\n"), std::string::npos) << report;  // none but the table's

  // A pilot program named on the command line, instead of the one beside the scenario.
  tree.write("Other.pilot", "at soon end\n");
  std::ostringstream out;
  EXPECT_EQ(sim::runner::runCheck({"Scenarios/Bad.scn", tree.path("Other.pilot"), tree.dir()}, out), kBadInput);
  EXPECT_NE(out.str().find("Other.pilot:1: "), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("Bad.pilot"), std::string::npos) << out.str();
}

TEST_F(scenario_check, fly_refuses_a_scenario_with_errors_and_flies_one_with_warnings_only) {
  ASSERT_EQ(flyIt("Scenarios/Bad.scn"), kBadInput);
  EXPECT_NE(report.find("varnell: Scenarios/Bad.scn:9: L1: manifest line rejected"), std::string::npos) << report;
  EXPECT_NE(report.find("varnell: warning: Scenarios/Bad.scn:4: "), std::string::npos) << report;
  EXPECT_NE(report.find("error(s) in Scenarios/Bad.scn or Scenarios/Bad.pilot; nothing flown"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(tree.path("out")));

  // The same without its errors: lines 2 to 8, 14, 15 and 17, the launcher alone.
  std::istringstream lines(kScenario);
  std::string kept = "BEGIN_SHIPS\n";
  int n = 0;
  for (std::string line; std::getline(lines, line);)
    if (++n >= 2 && (n <= 8 || n == 14 || n == 15 || n == 17)) kept += line + "\n";
  tree.write("Scenarios/Warned.scn", kept + "END_SHIPS\n");
  tree.write("Scenarios/Warned.pilot", "at 2 end\n");
  ASSERT_EQ(flyIt("Scenarios/Warned.scn"), kSuccess) << report;
  EXPECT_NE(report.find("Warned.scn:6: no reader takes this line of L1: \"FAIRNG 1\""), std::string::npos) << report;
  EXPECT_TRUE(std::filesystem::exists(tree.path("out/summary.json")));
}

// A payload's mass on its carrier against what its class makes it at release
// (Varnell\\Sat: 600 kg empty and 100 kg of fuel; the dispenser's module
// weighs it): more than 1 kg apart is a warning, which --strict makes an error
// for check and fly alike.
TEST_F(scenario_check, a_payload_carried_at_another_mass_than_its_class_gives_warns_and_strict_makes_it_an_error) {
  tree.write("Scenarios/Mass.scn",
             "BEGIN_ENVIRONMENT\n  Date MJD 61000.5\nEND_ENVIRONMENT\nBEGIN_SHIPS\nL1:Varnell\n  STATUS Landed Earth\n"
             "  PRPLEVEL 0:1 1:1 2:1\n"
             "  STAGE D1 Varnell\\Dispenser Varnell\\Dispenser 0 0 25 450 0 1\n"
             "  PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0.8 0 27.2 900 0 1\n"      // line 9
             "  PAYLOAD Sat2 Varnell\\Sat Varnell\\Sat -0.8 0 27.2 651 0 0.5\n"   // 650 kg: 1 kg off
             "  PAYLOAD Sat3 Varnell\\Sat Varnell\\Sat 0 0.8 27.2 648.9 0 0.5\n"  // 1.1 kg off
             "  ENDSTAGE\nEND\nEND_SHIPS\n");
  const std::string scn = tree.path("Scenarios/Mass.scn");
  const auto warning = [&scn](const char *line, const char *said) { return "warning: " + scn + ":" + line + said; };
  const std::string warnings =
      warning("9",
              ": payload Sat1 of class \"Varnell\\Sat\" is carried as 900 kg, but its class weighs 700 kg at "
              "release (600 kg empty and 1 of its 100 kg of fuel)\n") +
      warning("11",
              ": payload Sat3 of class \"Varnell\\Sat\" is carried as 648.9 kg, but its class weighs 650 kg "
              "at release (600 kg empty and 0.5 of its 100 kg of fuel)\n");
  const Flown warned = varnell({"check", scn, "--root", tree.dir()});
  EXPECT_EQ(warned.status, kSuccess);
  EXPECT_EQ(warned.terminal, warnings + scn + ": no errors, 2 warning(s)\n");
  const Flown checked = varnell({"check", scn, "--strict", "--root", tree.dir()});
  EXPECT_EQ(checked.status, kBadInput);
  EXPECT_EQ(checked.terminal, warnings + scn + ": no errors, 2 warning(s), errors under --strict\n");
  const Flown flown = varnell({"fly", scn, "--root", tree.dir(), "--strict"});
  EXPECT_EQ(flown.status, kBadInput);
  EXPECT_EQ(lastLine(flown.errors),
            "varnell: 0 error(s) and 2 warning(s), errors under --strict, in " + scn + "; nothing flown");
}

// Saved in flight, the launchers' timelines are in the scenario: MET and the
// booster's sampler with its clock and the airspeed of its last sample (L1, just lifted off),
// MET and the time since staging (L2). The launcher reads them all, and they
// stay out of the host's parser: the check finds nothing to say. One that does
// not read whole, or whose key is only the start of its first word, is left
// to it, and named as a line no one read.
TEST_F(scenario_check, a_scenario_saved_in_flight_with_the_launchers_timelines_checks_clean) {
  {
    sim::World w(".", "");
    w.loadScenarioText("Flight.scn",
                       "BEGIN_SHIPS\nL1:Varnell\n  STATUS Landed Earth\n  PRPLEVEL 0:1 1:1 2:1\nEND\nL2:Varnell\n"
                       "  STATUS Orbiting Earth\n  RPOS 7000000 0 0\n  RVEL 0 0 7546\n  PRPLEVEL 0:0.9 1:1\n"
                       "  CONFIGURATION 1\n  FAIRING 1\nEND\nEND_SHIPS\n");
    w.cockpit().pressKey(w.find("L1"), OAPI_KEY_B);
    for (int i = 0; i < 600; ++i) w.step();
    tree.write("Scenarios/Saved.scn", w.scenarioText());
  }
  const std::string saved = tree.read("Scenarios/Saved.scn");
  // To the last bit: 600 steps of 0.02 s come to a little under 12 s.
  for (const char *line :
       {"\n  MET 1.999999999", "\n  SAMPLER 11.999999999", "\n  MET 11.999999999", "\n  STAGETIMER 22.999999999"})
    EXPECT_NE(saved.find(line), std::string::npos) << line << "\n" << saved;
  EXPECT_EQ(check("Scenarios/Saved.scn"), kSuccess);
  EXPECT_NE(report.find(": no errors, 0 warning(s)\n"), std::string::npos) << report;
  tree.write("Scenarios/Saved.scn", "BEGIN_SHIPS\nL1:Varnell\n  MET 2 s\n  STAGETIMER\n  MET2\nEND\nEND_SHIPS\n");
  check("Scenarios/Saved.scn");
  for (const char *line :
       {"3: no reader takes this line of L1: \"MET 2 s\"", "4: no reader takes this line of L1: \"STAGETIMER\"",
        "5: no reader takes this line of L1: \"MET2\""})
    EXPECT_NE(report.find(line), std::string::npos) << report;

  // Saved and loaded again in the count, on its springs as the booster's push
  // grows (in touch with the ground: no second touchdown), and while the
  // booster steers (its engines turned), the launch flies on as flown straight through.
  tree.write("Scenarios/Steer.scn",
             "BEGIN_SHIPS\nL1:Varnell\n  STATUS Landed Earth\n  PRPLEVEL 0:1 1:1 2:1\nEND\n"
             "END_SHIPS\n");
  tree.write("Scenarios/Steer.pilot", "at 1 key B\nat 1 steer heading 90 pitch altitude 0:90 2000:80\nat 30 end\n");
  const Flown steered = varnell({"fly", "Scenarios/Steer.scn", "--root", tree.dir(), "--reload-every", "4"});
  EXPECT_NE(steered.terminal.find("reloaded 7 time(s): the flight agrees"), std::string::npos) << steered.terminal;
}

// Each line of the manifest reader's fuzz seeds (a message by its text) inside
// an open stage, before one more payload: check flags the line exactly when it
// changed nothing that the launcher saves, compared with a launcher without
// it. Every manifest key is in play, so that only the reader can tell. The
// launcher's own keys are its business, not the manifest's.
TEST_F(scenario_check, agrees_with_the_launcher_on_every_line_of_the_manifest_fuzz_corpus) {
  std::vector<std::string> lines;
  for (const auto &seed : std::filesystem::directory_iterator(VARNELL_MANIFEST_CORPUS)) {
    std::ifstream in(seed.path());
    bool messages = false;
    for (std::string line; std::getline(in, line);) {
      if (line == "--") messages = true;
      if (messages && line.find('\t') != std::string::npos) line = line.substr(line.find('\t') + 1);
      const std::string key = sim::lower(sim::words(line + " -").front());
      if (key != "configuration" && key != "fairing") lines.push_back(line);
    }
  }
  const auto block = [](const std::string &name, const std::string &line) {
    return name + ":Varnell\n  STATUS Landed Earth\n  STAGE K Varnell\\Dispenser Varnell\\Dispenser 0 0 25 450 0 1\n" +
           "  PAYLOAD P Varnell\\Sat Varnell\\Sat 0 0 27 100 0 1\n  " + line +
           "\n  PAYLOAD Q Varnell\\Sat Varnell\\Sat 0 0 28 100 0 1\nEND\n";
  };
  std::string scenario = "BEGIN_SHIPS\n" + block("R", "; none");
  for (size_t k = 0; k < lines.size(); ++k) scenario += block("C" + std::to_string(k), lines[k]);
  tree.write("Scenarios/Corpus.scn", scenario + "END_SHIPS\n");
  check("Scenarios/Corpus.scn");

  sim::World w(".", "");
  ASSERT_TRUE(w.loadScenario("Scenarios/Corpus.scn"));
  sim::Log quiet("");
  sim::ScenarioData saved;
  sim::parseScenarioText("saved", w.scenarioText(), quiet, saved);
  ASSERT_EQ(saved.vessels.size(), 1 + lines.size());
  const auto manifest = [&saved](size_t i) {
    std::vector<std::string> texts;
    for (const sim::ScenarioLine &l : saved.vessels[i].lines) texts.push_back(l.text);
    return texts;
  };
  for (size_t k = 0; k < lines.size(); ++k) {
    const size_t at = report.find("Corpus.scn:" + std::to_string(13 + 7 * k) + ": ");
    const std::string said = at == std::string::npos ? "" : report.substr(at, report.find('\n', at) - at);
    const bool flagged =
        said.find("manifest line rejected") != std::string::npos || said.find("no reader takes") != std::string::npos;
    // A stage turned away takes the lines up to its closing with it: Q here.
    std::vector<std::string> unchanged = manifest(0);
    if (flagged && sim::words(lines[k] + " -").front() == "STAGE")
      unchanged.erase(std::find_if(unchanged.begin(), unchanged.end(),
                                   [](const std::string &l) { return l.rfind("PAYLOAD Q ", 0) == 0; }));
    EXPECT_NE(manifest(k + 1) != unchanged, flagged) << lines[k] << "\n" << said;
  }
}
