#include "scene/edge_angles.hpp"

#include <array>
#include <cmath>
#include <cstdint>

namespace l2v {
namespace {

// atan(x) = x * P(x * x) for |x| <= tan(pi/8), P's coefficients highest power first: a
// Chebyshev fit within 4e-16 of the arctangent (scripts/fit_arctangent.py).
constexpr std::array<double, 10> kArcTangent = {
    -0.025316479573776477, 0.05024762118940128, -0.0650598296717084,  0.07673535428183285,
    -0.09089529956562307,  0.11111048853751296, -0.14285712661684793, 0.19999999978392663,
    -0.3333333333322143,   0.999999999999999};

constexpr double kTanEighthTurn = 0.41421356237309503;     // tan(pi/8)
constexpr double kTanThreeEighthTurns = 2.414213562373095; // tan(3pi/8)
constexpr double kQuarterPi = 0.7853981633974483;
constexpr double kHalfPi = 1.5707963267948966;

// P(u), in pairs and powers of u so that the steps do not wait on each other.
double arcTangentFactor(double u) {
    const std::array<double, 10>& c = kArcTangent;
    const double u2 = u * u;
    const double u4 = u2 * u2;
    const double u8 = u4 * u4;
    const double low = (c[9] + c[8] * u) + (c[7] + c[6] * u) * u2;
    const double middle = (c[5] + c[4] * u) + (c[3] + c[2] * u) * u2;
    const double high = c[1] + c[0] * u;
    return low + middle * u4 + high * u8;
}

// atan(p / q) for p, q >= 0, not both zero, with one division: a ratio r beyond tan(pi/8) is
// brought back by atan(r) = pi/4 + atan((r - 1) / (r + 1)), one beyond tan(3pi/8) by
// atan(r) = pi/2 - atan(1 / r). The choice is made by selection, as the ratios are random.
double arcTangentOfRatio(double p, double q) {
    const bool small = p <= kTanEighthTurn * q;
    const bool large = p > kTanThreeEighthTurns * q;
    const double numerator = small ? p : (large ? -q : p - q);
    const double denominator = small ? q : (large ? p : p + q);
    const double base = small ? 0.0 : (large ? kHalfPi : kQuarterPi);
    const double x = numerator / denominator;
    return base + x * arcTangentFactor(x * x);
}

constexpr double kSmallestUnscaled = 0x1p-900;
constexpr double kTinyScale = 0x1p600;

// The evaluation above and the library's are both within about 1e-15 of the true angle.
// Printed with six decimals, they can differ only if a value where the digits change (an odd
// multiple of half a millionth) or zero (where the sign shows) lies between them; this margin
// is a thousand times wider than their difference can be.
constexpr double kPrintMargin = 1e-12;

bool printsAsTheLibraryWould(double angle) {
    const double size = std::fabs(angle);
    const double micros = size * 1e6; // at most pi/2 * 1e6
    const double fraction = micros - static_cast<double>(static_cast<std::int64_t>(micros));
    return size > kPrintMargin && std::fabs(fraction - 0.5) > kPrintMargin * 1e6;
}

} // namespace

double swingAngle(double sine) {
    const double size = std::fabs(sine);
    const double cosine = std::sqrt((1.0 - size) * (1.0 + size));
    const double angle = std::copysign(arcTangentOfRatio(size, cosine), sine);
    return printsAsTheLibraryWould(angle) ? angle : std::asin(sine);
}

double tiltAngle(double dy, double dz) {
    double rise = std::fabs(dz);
    double run = std::fabs(dy);
    // Subnormal differences have too few digits for the region tests' products; a power of
    // two brings both into the normal range without changing their ratio.
    if (std::fmax(rise, run) < kSmallestUnscaled) {
        rise *= kTinyScale;
        run *= kTinyScale;
    }
    // The sign of the product is the sign of dz / dy, even where the product underflows.
    const double angle = std::copysign(arcTangentOfRatio(rise, run), dz * dy);
    return printsAsTheLibraryWould(angle) ? angle : -std::atan2(-(dz / dy), 1.0);
}

} // namespace l2v
