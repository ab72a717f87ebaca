#pragma once

#include "layout/layout.hpp"

namespace fuzz {

// Checks the shape of a layout the reader accepted: tables sized by the node count, runs back
// to back over the whole pool, each run starting with its node's index, neighbours that can
// index the coordinates, finite positions.
void checkReadLayout(const l2v::Layout& layout);

} // namespace fuzz
