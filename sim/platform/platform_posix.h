// How the Windows library names that modules use map onto this platform.
#pragma once

#include <string>

namespace sim {

// The file LoadLibraryA opens for a name such as "Modules\cvelmessage": '\'
// becomes '/', ".so" is added when the name has no extension, and a bare name
// stays in the working directory instead of the system's library path.
std::string libraryPath(const std::string &name);

}  // namespace sim
