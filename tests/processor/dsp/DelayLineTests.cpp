#include "processor/dsp/DcBlocker.h"
#include "processor/dsp/Delay.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
/** One line, in both lanes of a pair. At 1 kHz one millisecond is one sample and the buffer
    holds 2000 samples. */
class OneLine
{
public:
    explicit OneLine (float samples) : ms (samples) { lines.prepare (1000.0); }

    void setDelay (float samples) { ms = samples; }

    float process (float x)
    {
        const Float4 delay (ms), in (x);
        Float4 out;
        lines.process (&delay, &in, &out, 1);
        return out.lane0();
    }

    float delaySamples() const { return lines.getDelaySamples (0); }

private:
    DelayLines<2> lines;
    float ms;
};
} // namespace

TEST (DelayLine, wholeSamplesReturnEarlierInputsAfterSilenceAcrossTheBufferEnd)
{
    OneLine delay (7.0f);
    for (int n = 0; n < 4500; ++n)
        ASSERT_EQ (delay.process ((float) (n + 1)), n < 7 ? 0.0f : (float) (n + 1 - 7)) << n;
}

TEST (DelayLine, fractionsInterpolateWithTheCurrentInputBelowOneSampleAndZeroStillStores)
{
    OneLine twoAndAHalf (2.5f);
    for (float x : { 1.0f, 2.0f, 3.0f, 4.0f })
        twoAndAHalf.process (x);
    EXPECT_EQ (twoAndAHalf.process (5.0f), 2.5f);

    OneLine quarter (0.25f);
    EXPECT_EQ (quarter.process (4.0f), 3.0f);
    EXPECT_EQ (quarter.process (8.0f), 7.0f);

    OneLine none (0.0f);
    EXPECT_EQ (none.process (1.0f), 1.0f);
    EXPECT_EQ (none.process (2.0f), 2.0f);
    none.setDelay (2.0f);
    EXPECT_EQ (none.process (3.0f), 1.0f);
}

TEST (DelayLine, requestsOutsideTheBufferAreHeldInside)
{
    OneLine delay (1.0e6f);
    for (int n = 0; n <= 1999; ++n)
        ASSERT_EQ (delay.process (n == 0 ? 1.0f : 0.0f), n == 1999 ? 1.0f : 0.0f) << n;
    EXPECT_EQ (delay.delaySamples(), 1999.0f);

    delay.setDelay (-5.0f);
    EXPECT_EQ (delay.process (0.25f), 0.25f);
}

TEST (DelayLine, fourLinesShareTheWritePositionButReadEachAtItsOwnDelay)
{
    DelayLines<4> lines;
    lines.prepare (1000.0);
    const Float4 delays (1.0f, 2.5f, 0.5f, 1999.0f);

    // Every line gets its own ramp, so a tap read from the wrong line shows.
    for (int n = 0; n < 2500; ++n)
    {
        const auto x = [n] (int line) { return (float) (n + 1000 * line); };
        const Float4 in (x (0), x (1), x (2), x (3));
        Float4 out;
        lines.process (&delays, &in, &out, 1);

        float y[4];
        out.store (y);
        ASSERT_EQ (y[0], n < 1 ? 0.0f : x (0) - 1.0f) << n;
        ASSERT_EQ (y[1], n < 3 ? (n < 2 ? 0.0f : 0.5f * (x (1) - 2.0f)) : x (1) - 2.5f) << n;
        ASSERT_EQ (y[2], n < 1 ? 0.5f * x (2) : x (2) - 0.5f) << n;
        ASSERT_EQ (y[3], n < 1999 ? 0.0f : x (3) - 1999.0f) << n;
    }
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
