#include "processor/dsp/Float4.h"

#include <gtest/gtest.h>

#include <array>

using Simd::Double2;
using Simd::Float4;

namespace
{
std::array<float, 4> lanesOf (Float4 x)
{
    std::array<float, 4> lanes;
    x.store (lanes.data());
    return lanes;
}
} // namespace

TEST (Simd, valuesFormedInDoubleRoundAtEachStepThenToTheNearestFloat)
{
    // A product and a sum rounded once each: fused, lane 0 would keep -2^-60; formed in float,
    // lane 1 would lose its 2^-40.
    const double a[] { 1.0 + 0x1p-30, 1.0 + 0x1p-20 }, b[] { 1.0 - 0x1p-30, 1.0 + 0x1p-20 };
    const auto sum = Double2::load (a) * Double2::load (b) + Double2 (-1.0);
    // Halfway between two floats: to the even one.
    const double ties[] { 1.0 + 0x1p-24, 1.0 + 0x3p-24 };

    const auto lanes = lanesOf (lowHalves (sum.narrowed(), Double2::load (ties).narrowed()));
    EXPECT_EQ (lanes[0], 0.0f);
    EXPECT_EQ (lanes[1], 0x1p-19f + 0x1p-40f);
    EXPECT_EQ (lanes[2], 1.0f);
    EXPECT_EQ (lanes[3], 1.0f + 0x1p-22f);

    // Each lane keeps its place through the widening and back.
    const float x[] { 0.1f, -3.7f, 1.0e-30f, 12345.678f };
    const auto scaled = lanesOf (Float4::load (x).multipliedInDouble (0.8));
    for (size_t k = 0; k < 4; ++k)
        EXPECT_EQ (scaled[k], (float) ((double) x[k] * 0.8)) << k;
}
