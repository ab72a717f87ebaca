#include "fit_check.hpp"

#include "fuzz_check.hpp"
#include "layout/fitting.hpp"
#include "scene/scene_switches.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace fuzz {
namespace {

// The fit recomputed in long double, whose exponent range keeps every intermediate of a fit
// of finite doubles finite, so it tells which layouts can be fitted at all.
using Wide = std::vector<long double>;

struct WideFit {
    Wide x;
    Wide y;
    Wide z;
};

struct WideRange {
    long double minimum;
    long double maximum;
    long double span() const { return maximum - minimum; }
};

WideRange rangeOf(const std::vector<double>& values, std::size_t count) {
    WideRange range{values[0], values[0]};
    for (std::size_t i = 1; i < count; ++i) {
        range.minimum = std::min<long double>(range.minimum, values[i]);
        range.maximum = std::max<long double>(range.maximum, values[i]);
    }
    return range;
}

Wide scaled(const std::vector<double>& values, std::size_t count, long double minimum,
            long double extent, long double divisor) {
    Wide result(count, 0.0L);
    if (divisor == 0.0L) {
        return result;
    }
    for (std::size_t i = 0; i < count; ++i) {
        result[i] = (values[i] - minimum) * extent / divisor;
    }
    return result;
}

void centre(Wide& values) {
    long double sum = 0.0L;
    for (const long double value : values) {
        sum += value;
    }
    const long double mean = sum / static_cast<long double>(values.size());
    for (long double& value : values) {
        value -= mean;
    }
}

long double largestMagnitude(const Wide& values) {
    long double largest = 0.0L;
    for (const long double value : values) {
        largest = std::max(largest, std::fabs(value));
    }
    return largest;
}

// Largest magnitude before centring bounds the rounding error of the double fit.
struct WideResult {
    WideFit fit;
    long double uncentredMagnitude;
};

WideResult wideFit(const l2v::Coordinates& original, std::int32_t nodeCount, double extent) {
    const auto count = static_cast<std::size_t>(nodeCount);
    const WideRange x = rangeOf(original.x, count);
    const WideRange y = rangeOf(original.y, count);
    const WideRange z = rangeOf(original.z, count);
    long double divisor = z.span();
    if (divisor == 0.0L) {
        divisor = std::max(x.span(), y.span());
    }
    WideResult result{{scaled(original.x, count, x.minimum, extent, divisor),
                       scaled(original.y, count, y.minimum, extent, divisor),
                       scaled(original.z, count, z.minimum, extent, divisor)},
                      0.0L};
    result.uncentredMagnitude =
        std::max({largestMagnitude(result.fit.x), largestMagnitude(result.fit.y),
                  largestMagnitude(result.fit.z)});
    centre(result.fit.x);
    centre(result.fit.y);
    centre(result.fit.z);
    return result;
}

void checkAxis(const std::vector<double>& fitted, const Wide& expected, long double tolerance,
               const char* axis) {
    for (std::size_t i = 0; i < expected.size(); ++i) {
        require(std::isfinite(fitted[i]), "fitted coordinate not finite", axis);
        require(std::fabs(fitted[i]) <= l2v::kLargestSceneCoordinate,
                "fitted coordinate beyond the drawable range", axis);
        const long double error = std::fabs(static_cast<long double>(fitted[i]) - expected[i]);
        require(error <= tolerance, "fitted coordinate far from the exact fit",
                std::string(axis) + " of node " + std::to_string(i));
    }
}

} // namespace

void checkFitted(const l2v::Coordinates& original, const l2v::Layout& fitted, double extent) {
    const WideResult exact = wideFit(original, fitted.nodeCount, extent);
    // A few roundings per value, plus the sum behind each mean.
    const long double tolerance = exact.uncentredMagnitude * 1e-9L + 1e-300L;
    checkAxis(fitted.coordinates.x, exact.fit.x, tolerance, "x");
    checkAxis(fitted.coordinates.y, exact.fit.y, tolerance, "y");
    checkAxis(fitted.coordinates.z, exact.fit.z, tolerance, "z");
}

void checkFitRefusalJustified(const l2v::Coordinates& original, std::int32_t nodeCount,
                              double extent) {
    const WideResult exact = wideFit(original, nodeCount, extent);
    const long double largest =
        std::max({largestMagnitude(exact.fit.x), largestMagnitude(exact.fit.y),
                  largestMagnitude(exact.fit.z)});
    const long double clearlyDrawable = l2v::kLargestSceneCoordinate * (1.0L - 1e-6L);
    require(!(largest < clearlyDrawable), "a drawable layout was refused as too far apart",
            "largest exactly fitted magnitude " + std::to_string(static_cast<double>(largest)));
}

} // namespace fuzz
