#include "processor/dsp/DcBlocker.h"
#include "processor/dsp/DelayLines.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

using Simd::Float4;

namespace
{
/** One step of the lines; lanes from numLines on are left out of the result. At 1 kHz one
    millisecond is one sample and the buffer holds 2000 samples. */
template <int numLines>
std::array<float, 4> step (DelayLines<numLines>& lines, Float4 delays, Float4 in)
{
    Float4 out;
    lines.process (&delays, &in, &out, 1);
    std::array<float, 4> y;
    out.store (y.data());
    return y;
}

template <int numLines>
void expectEachLineAtItsOwnDelayAcrossTheBufferEnd()
{
    DelayLines<numLines> lines;
    lines.prepare (1000.0);

    // Every line gets its own ramp, so a tap read from the wrong line shows.
    for (int n = 0; n < 2500; ++n)
    {
        const auto x = [n] (int line) { return (float) (n + 1000 * line); };
        const auto y = step (lines, Float4 (2.5f, 0.5f, 1.0f, 1999.0f), Float4 (x (0), x (1), x (2), x (3)));
        ASSERT_EQ (y[0], n < 3 ? (n < 2 ? 0.0f : 0.5f * (x (0) - 2.0f)) : x (0) - 2.5f) << numLines << ", " << n;
        ASSERT_EQ (y[1], n < 1 ? 0.5f * x (1) : x (1) - 0.5f)
            << numLines << ", " << n; // between the input and the one before
        if constexpr (numLines == 4)
        {
            ASSERT_EQ (y[2], n < 1 ? 0.0f : x (2) - 1.0f) << n;
            ASSERT_EQ (y[3], n < 1999 ? 0.0f : x (3) - 1999.0f) << n;
        }
    }
}
} // namespace

TEST (DelayLine, twoOrFourLinesShareTheWritePositionButReadEachAtItsOwnDelay)
{
    expectEachLineAtItsOwnDelayAcrossTheBufferEnd<2>();
    expectEachLineAtItsOwnDelayAcrossTheBufferEnd<4>();
}

TEST (DelayLine, requestsOutsideTheBufferAreHeldInsideAndAZeroDelayPassesTheInputButStillStoresIt)
{
    DelayLines<4> lines;
    lines.prepare (1000.0);
    const auto nan = std::numeric_limits<float>::quiet_NaN();

    for (int n = 0; n < 2000; ++n)
    {
        const auto x = (float) (n + 1);
        const auto y = step (lines, Float4 (1.0e6f, -5.0f, nan, n < 1000 ? 0.0f : 2.0f), Float4 (x));
        ASSERT_EQ (y[0], n < 1999 ? 0.0f : 1.0f) << n;
        ASSERT_EQ (y[1], x) << n;
        ASSERT_EQ (y[2], x) << n;
        ASSERT_EQ (y[3], n < 1000 ? x : x - 2.0f) << n;
    }
    EXPECT_EQ (lines.getDelaySamples (0), 1999.0f);
}

TEST (DcBlocker, passesAStepAtOnceThenSettlesToZero)
{
    DcBlocker blocker;
    EXPECT_EQ (blocker.process (0.5f), 0.5f);
    EXPECT_EQ (blocker.process (0.5f), 0.995f * 0.5f);
    for (int n = 0; n < 3000; ++n)
        blocker.process (0.5f);
    EXPECT_LT (std::abs (blocker.output), 1.0e-6f);
}
