#pragma once

namespace l2v {

// The program's name and version ("layout2vrml 1.0.0"): what --version prints and the
// generator a glb file names.
const char* programVersion();

} // namespace l2v
