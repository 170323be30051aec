// The payload manager's own interface, for vessels built on it, through a
// carrier of this test's own on a plain vessel of the host: the keywords it
// hands on, the payload mass and its centre, the one-shot release velocity,
// vessels made at a point of the carrier, the last message received.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
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
  sim::Vessel *host = nullptr;
  std::unique_ptr<Carrier> carrier;
};

// From the scenario and from messages; the last message taken in is handed back when asked for.
TEST_F(payload_manager, other_keywords_go_on_with_their_line) {
  for (const char *line : {"CONFIGURATION 1", "payload x y z 0 0 0 1 0 1", "ENDSTAGEX", "PAYLOAD", "  NOTE a b"})
    carrier->ParseScenarioLine(line);
  carrier->SendManifestMessage(carrier.get(), "PAYLOAD", "PAYLOAD m1 Varnell\\Sat Varnell\\Sat 0 0 2 100 0 1");
  carrier->SendManifestMessage(carrier.get(), "NOTES", "for someone else");
  carrier->SendManifestMessage(carrier.get(), "PAYLOAD", "");
  char key[256] = "unset", line[2048] = "unset";
  EXPECT_TRUE(carrier->ReceiveManifestMessages(key, line));
  EXPECT_EQ(std::string(key) + "|" + line, "NOTES|for someone else");
  EXPECT_EQ(carrier->seen,
            (std::vector<std::string>{"CONFIGURATION|CONFIGURATION 1", "payload|payload x y z 0 0 0 1 0 1",
                                      "ENDSTAGEX|ENDSTAGEX", "NOTE|  NOTE a b", "NOTES|for someone else"}));
  EXPECT_FALSE(carrier->ReceiveManifestMessages());
}

TEST_F(payload_manager, the_payload_mass_has_its_centre_at_the_mass_weighted_mean_offset) {
  VECTOR3 centre = _V(1, 1, 1);
  EXPECT_EQ(carrier->GetPayloadMass(centre), 0);
  expectNear(centre, _V(0, 0, 0));
  carrier->ParseScenarioLine("PAYLOAD A Varnell\\Sat Varnell\\Sat 0 0 3 1000 0 1");
  carrier->ParseScenarioLine("PAYLOAD B Varnell\\Sat Varnell\\Sat 0 0 7 3000 0 1");
  EXPECT_EQ(carrier->GetPayloadMass(centre), 4000);
  expectNear(centre, _V(0, 0, 6));
}

// Armed, the velocity serves the next release that gets as far as the vessel,
// whichever entry it is, and no other.
TEST_F(payload_manager, a_release_velocity_set_serves_one_release_and_survives_a_refused_one) {
  for (const char *line :
       {"PAYLOAD P1 Varnell\\Sat Varnell\\Sat 0 0 3 100 0 1", "PAYLOAD P2 Varnell\\Sat Varnell\\Sat 0 0 4 100 0 1",
        "PAYLOAD Lost Varnell\\Sat Nowhere 0 0 5 100 0 1"})
    carrier->ParseScenarioLine(line);
  carrier->AddPayloadMeshes(_V(0, 0, 0));
  carrier->SetReleaseVelocity(_V(0, 3, 0));
  EXPECT_EQ(carrier->ReleaseNextStage(), nullptr);
  std::strcpy(carrier->entries[2].className, "Varnell\\Sat");
  for (const char *name : {"Lost", "P2", "P1"}) {
    ASSERT_NE(carrier->ReleaseNextStage(), nullptr) << name;
    expectNear(velocityFrom(*host, *world.find(name)), std::string(name) == "Lost" ? _V(0, 3, 0) : _V(0, 0, 0.5), 1e-9,
               name);
  }
}

// At a point of the carrier, with its motion plus a push and a turn rate
// added, engines off.
TEST_F(payload_manager, a_vessel_made_at_a_point_of_the_carrier_moves_with_it_plus_what_is_added) {
  THRUSTER_HANDLE engine = host->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1);
  host->iface->CreateThrusterGroup(&engine, 1, THGROUP_MAIN);
  host->iface->SetThrusterGroupLevel(THGROUP_MAIN, 1);  // the carrier's engines burn
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

}  // namespace
