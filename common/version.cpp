#include "common/version.hpp"

// The build sets the version from the project's; a build outside it still compiles.
#ifndef LAYOUT2VRML_VERSION
#define LAYOUT2VRML_VERSION "unknown"
#endif

namespace l2v {

const char* programVersion() {
    return "layout2vrml " LAYOUT2VRML_VERSION;
}

} // namespace l2v
