#include "scene/size_scale.hpp"

#include "scene/drawing_style.hpp"
#include "scene/geometry.hpp"
#include "scene/scene_walk.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace l2v {
namespace {

// The page's sample size (html/viewer/scene_data.js): the same samples give the same factor.
constexpr std::size_t kMostSamples = 50001;

// Every step-th of `count` items, starting with the first: all of up to 2 x kMostSamples - 1
// items, else between kMostSamples and twice as many.
std::size_t sampleStep(std::size_t count) {
    return std::max<std::size_t>(1, count / kMostSamples);
}

double upperMedian(std::vector<double>& values) {
    if (values.empty()) {
        return 0;
    }
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

Point positionOf(const Layout& layout, std::uint32_t node) {
    const Coordinates& at = layout.coordinates;
    return {at.x[node], at.y[node], at.z[node]};
}

double medianEdgeLength(const Layout& layout, std::size_t edgeCount) {
    const std::size_t step = sampleStep(edgeCount);
    std::vector<double> lengths;
    lengths.reserve(std::min(edgeCount, kMostSamples + 1));
    std::size_t edge = 0;
    forEachEdgeEnds(layout, [&](std::uint32_t from, std::uint32_t to) {
        if (edge++ % step == 0) {
            lengths.push_back(length(offset(positionOf(layout, from), positionOf(layout, to))));
        }
    });
    return upperMedian(lengths);
}

double medianRunLength(const Layout& layout) {
    const auto nodeCount = static_cast<std::size_t>(layout.nodeCount);
    const std::size_t step = sampleStep(nodeCount);
    std::vector<double> counts;
    counts.reserve(std::min(nodeCount, kMostSamples + 1));
    for (std::size_t node = 0; node < nodeCount; node += step) {
        counts.push_back(layout.nodes[node].count);
    }
    return upperMedian(counts);
}

} // namespace

double suggestedSizeScale(const Layout& fitted) {
    const std::size_t edgeCount = countDrawnEdges(fitted);
    if (edgeCount == 0) {
        return 1;
    }
    const double edgeLength = medianEdgeLength(fitted, edgeCount);
    const double sphereWidth = 2 * DrawingStyle{}.nodeRadius * std::sqrt(medianRunLength(fitted));
    if (edgeLength <= 0 || sphereWidth <= edgeLength / 3) {
        return 1;
    }
    return edgeLength / 3 / sphereWidth;
}

std::optional<double> sizeFactor(const Layout& fitted, const SizeRequest& request) {
    switch (request.by) {
    case SizeBy::automatic:
        return std::max(kSmallestSizeFactor, suggestedSizeScale(fitted));
    case SizeBy::factor:
        return request.factor;
    case SizeBy::file:
        break;
    }
    return std::nullopt;
}

} // namespace l2v
