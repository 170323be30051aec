// The payload manager's own interface, for vessels built on it, through a
// carrier of this test's own on a plain vessel of the host: the payload mass
// and its centre, and the one-shot release velocity.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "payload/common_vessel_ex.h"
#include "tests/support/launcher.h"

namespace {

using Carrier = COMMON_VESSEL_EX;

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

TEST_F(payload_manager, the_payload_mass_has_its_centre_at_the_mass_weighted_mean_offset) {
  VECTOR3 centre = _V(1, 1, 1);
  EXPECT_EQ(carrier->GetPayloadMass(centre), 0);
  expectNear(centre, _V(0, 0, 0));
  carrier->ParseScenarioLine("PAYLOAD A Varnell\\Sat Varnell\\Sat 0 0 3 1000 0 1");
  carrier->ParseScenarioLine("PAYLOAD B Varnell\\Sat Varnell\\Sat 0 0 7 3000 0 1");
  EXPECT_EQ(carrier->GetPayloadMass(centre), 4000);
  expectNear(centre, _V(0, 0, 6));
  carrier->AddPayloadMeshes();  // at the stack origin (0, 0, 0)
  expectNear(host->meshes.back().ofs, _V(0, 0, 7));
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
    expectNear(velocityFrom({host->pos, host->vel, host->rot, host->omega}, *world.find(name)),
               std::string(name) == "Lost" ? _V(0, 3, 0) : _V(0, 0, 0.5), 1e-9, name);
  }
}

}  // namespace
