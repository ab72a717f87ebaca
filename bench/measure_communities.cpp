// Times the ways of finding node classes on one layout and reports what they find: class
// count and modularity, so that the community method is chosen on quality and speed. The
// converter's method shows in its two steps: Leiden on the groups, then the refinement node by
// node (timed alone, from the first step's communities). Last, the colours of its communities:
// how many edges between communities join two of one colour, and the share of nodes ranked
// colours (the twelve largest in colour, the rest grey) would leave grey.
//
// Usage: measure_communities LAYOUT.3dlayout [--skip-multilevel]
// (multilevel takes minutes on large random graphs)

#include "bench/community_methods.hpp"
#include "layout/layout_reader.hpp"
#include "scene/colouring.hpp"
#include "scene/community_refinement.hpp"
#include "scene/node_classes.hpp"
#include "scene/palette.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string_view>
#include <vector>

namespace {

template <class Find> auto measure(const char* name, const l2v::Layout& layout, Find&& find) {
    const auto start = std::chrono::steady_clock::now();
    const auto found = find();
    const std::vector<std::int64_t> classes(found.begin(), found.end());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::size_t count = std::set<std::int64_t>(classes.begin(), classes.end()).size();
    std::printf("%-12s %8.3f s  %8zu classes  modularity %.4f\n", name, seconds, count,
                l2v::bench::modularityOf(layout, classes));
    return found;
}

void measureColours(const l2v::Layout& layout, const std::vector<std::uint32_t>& community) {
    const auto start = std::chrono::steady_clock::now();
    const l2v::Colouring colouring =
        l2v::colourByCommunities(layout, {community.begin(), community.end()});
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::uint64_t between = 0;
    std::uint64_t oneColour = 0;
    l2v::forEachEdgeEnds(layout, [&](std::uint32_t i, std::uint32_t j) {
        if (!colouring.sharesClass(i, j)) {
            ++between;
            oneColour += colouring.nodeColour(i) == colouring.nodeColour(j) ? 1 : 0;
        }
    });
    std::uint64_t beyondPalette = 0;
    for (std::uint32_t node = 0; node < community.size(); ++node) {
        beyondPalette += colouring.classNumber(node) > l2v::kPaletteSize ? 1 : 0;
    }
    std::printf("%-12s %8.3f s  %8zu colours  %llu of %llu edges between communities join one "
                "colour; ranked colours would leave %.1f %% of nodes grey\n",
                "colours", seconds, colouring.legend().size(),
                static_cast<unsigned long long>(oneColour),
                static_cast<unsigned long long>(between),
                100.0 * static_cast<double>(beyondPalette) / static_cast<double>(community.size()));
}

} // namespace

int main(int argc, char** argv) {
    const bool skipMultilevel = argc == 3 && std::string_view(argv[2]) == "--skip-multilevel";
    if (argc != 2 && !skipMultilevel) {
        std::fputs("usage: measure_communities LAYOUT.3dlayout [--skip-multilevel]\n", stderr);
        return 2;
    }
    const l2v::Layout layout = l2v::loadLayout(argv[1]);
    measure("component", layout, [&] { return l2v::componentClasses(layout); });
    if (!skipMultilevel) {
        measure("multilevel", layout, [&] { return l2v::bench::multilevelOnNodes(layout); });
    }
    measure("leiden", layout, [&] { return l2v::bench::leidenOnNodes(layout); });
    const std::vector<std::uint32_t> grouped =
        measure("leiden/groups", layout, [&] { return l2v::groupCommunities(layout); });
    const std::vector<std::uint32_t> refined =
        measure("+ refined", layout, [&] { return l2v::refineCommunities(layout, grouped); });
    measureColours(layout, refined);
    return 0;
}
