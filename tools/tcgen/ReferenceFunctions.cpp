#include "tools/tcgen/ReferenceFunctions.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace vantrel::tcgen {

namespace {

template <std::size_t N>
double Polynomial(const std::array<double, N>& c, double t) {
    // Horner's scheme in double precision; single precision misrounds entries.
    double sum = 0.0;
    for (std::size_t i = N; i-- > 0;) {
        sum = sum * t + c[i];
    }
    return sum;
}

constexpr std::array<double, 9> kJLow = {
    0.000000000000E+00,  0.503811878150E-01,  0.304758369300E-04,
    -0.856810657200E-07, 0.132281952950E-09,  -0.170529583370E-12,
    0.209480906970E-15,  -0.125383953360E-18, 0.156317256970E-22};
constexpr std::array<double, 6> kJHigh = {0.296456256810E+03, -0.149761277860E+01,
                                          0.317871039240E-02, -0.318476867010E-05,
                                          0.157208190040E-08, -0.306913690560E-12};

constexpr std::array<double, 11> kKNegative = {
    0.000000000000E+00,  0.394501280250E-01,  0.236223735980E-04,  -0.328589067840E-06,
    -0.499048287770E-08, -0.675090591730E-10, -0.574103274280E-12, -0.310888728940E-14,
    -0.104516093650E-16, -0.198892668780E-19, -0.163226974860E-22};
constexpr std::array<double, 10> kKPositive = {
    -0.176004136860E-01, 0.389212049750E-01,  0.185587700320E-04, -0.994575928740E-07,
    0.318409457190E-09,  -0.560728448890E-12, 0.560750590590E-15, -0.320207200030E-18,
    0.971511471520E-22,  -0.121047212750E-25};
constexpr double kA0 = 0.118597600000E+00;
constexpr double kA1 = -0.118343200000E-03;
constexpr double kA2 = 0.126968600000E+03;

}  // namespace

double TypeJMillivolts(double celsius) {
    // 760 degrees belongs to the lower range.
    return celsius <= 760.0 ? Polynomial(kJLow, celsius) : Polynomial(kJHigh, celsius);
}

double TypeKMillivolts(double celsius) {
    if (celsius < 0.0) {
        return Polynomial(kKNegative, celsius);
    }
    const double d = celsius - kA2;
    return Polynomial(kKPositive, celsius) + kA0 * std::exp(kA1 * d * d);
}

}  // namespace vantrel::tcgen
