#include "layout/fitting.hpp"

#include "common/failure.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace l2v {
namespace {

struct Range {
    double minimum;
    double maximum;
    double span() const { return maximum - minimum; }
};

// Starts from node 0 and keeps the first of equal values.
Range rangeOf(const std::vector<double>& values, std::size_t count) {
    Range range{values[0], values[0]};
    for (std::size_t i = 1; i < count; ++i) {
        if (values[i] < range.minimum) {
            range.minimum = values[i];
        }
        if (values[i] > range.maximum) {
            range.maximum = values[i];
        }
    }
    return range;
}

void rescale(std::vector<double>& values, std::size_t count, double minimum, double extent,
             double divisor) {
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = (values[i] - minimum) * extent / divisor;
    }
}

// Small enough that twice the largest double times a fitting extent below 2^7 stays finite.
constexpr double kOverflowScale = 0x1p-8;

void multiply(std::vector<double>& values, std::size_t count, double factor) {
    for (std::size_t i = 0; i < count; ++i) {
        values[i] *= factor;
    }
}

void collapse(std::vector<double>& values, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = 0.0;
    }
}

double meanOf(const std::vector<double>& values, std::size_t count) {
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        sum += values[i];
    }
    return sum / static_cast<double>(count);
}

void subtract(std::vector<double>& values, std::size_t count, double offset) {
    for (std::size_t i = 0; i < count; ++i) {
        values[i] -= offset;
    }
}

bool within(const std::vector<double>& values, std::size_t count, double largest) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!(std::fabs(values[i]) <= largest)) {
            return false;
        }
    }
    return true;
}

} // namespace

void scaleLayout(Coordinates& coordinates, std::int32_t nodeCount, double extent) {
    if (nodeCount < 1) {
        return;
    }
    const auto count = static_cast<std::size_t>(nodeCount);
    Range x = rangeOf(coordinates.x, count);
    Range y = rangeOf(coordinates.y, count);
    Range z = rangeOf(coordinates.z, count);
    // Positions near the ends of the double range have spans, or spans times the extent,
    // that overflow although the fitted layout is finite. Such a layout is first brought
    // down by an exact power of two; any other layout is fitted exactly as written below.
    const double widest = std::max({x.span(), y.span(), z.span()});
    if (!(widest * extent <= std::numeric_limits<double>::max())) {
        for (std::vector<double>* axis : {&coordinates.x, &coordinates.y, &coordinates.z}) {
            multiply(*axis, count, kOverflowScale);
        }
        x = rangeOf(coordinates.x, count);
        y = rangeOf(coordinates.y, count);
        z = rangeOf(coordinates.z, count);
    }
    double divisor = z.span();
    if (divisor == 0.0) {
        divisor = std::max(x.span(), y.span());
    }
    if (divisor == 0.0) {
        collapse(coordinates.x, count);
        collapse(coordinates.y, count);
        collapse(coordinates.z, count);
        return;
    }
    rescale(coordinates.x, count, x.minimum, extent, divisor);
    rescale(coordinates.y, count, y.minimum, extent, divisor);
    rescale(coordinates.z, count, z.minimum, extent, divisor);
}

void centreLayout(Coordinates& coordinates, std::int32_t nodeCount) {
    if (nodeCount < 1) {
        return;
    }
    const auto count = static_cast<std::size_t>(nodeCount);
    const double meanX = meanOf(coordinates.x, count);
    const double meanY = meanOf(coordinates.y, count);
    const double meanZ = meanOf(coordinates.z, count);
    subtract(coordinates.x, count, meanX);
    subtract(coordinates.y, count, meanY);
    subtract(coordinates.z, count, meanZ);
}

void refuseCoordinatesBeyond(const Layout& layout, double largest) {
    const auto count = static_cast<std::size_t>(layout.nodeCount);
    const Coordinates& at = layout.coordinates;
    if (!within(at.x, count, largest) || !within(at.y, count, largest) ||
        !within(at.z, count, largest)) {
        throw Failure("coordinates in " + layout.sourcePath + " are too far apart to fit.");
    }
}

void fitLayout(Layout& layout, double extent, double largestCoordinate) {
    scaleLayout(layout.coordinates, layout.nodeCount, extent);
    centreLayout(layout.coordinates, layout.nodeCount);
    refuseCoordinatesBeyond(layout, largestCoordinate);
}

} // namespace l2v
