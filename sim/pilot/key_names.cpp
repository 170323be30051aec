#include "sim/cockpit/key_names.h"

#include "sim/pilot/program.h"

namespace sim {
namespace pilot {

bool keyCode(const std::string &name, DWORD &code) { return keyByName(name, code); }

}  // namespace pilot
}  // namespace sim
