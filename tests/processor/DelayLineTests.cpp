#include "processor/DcBlocker.h"
#include "processor/Delay.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// At 1 kHz one millisecond is one sample and the buffer holds 2000 samples.
Delay delayOf (float samples)
{
    Delay delay;
    delay.prepare (1000.0);
    delay.setDelay (samples);
    return delay;
}
} // namespace

TEST (DelayLine, wholeSamplesReturnEarlierInputsAfterSilenceAcrossTheBufferEnd)
{
    auto delay = delayOf (7.0f);
    for (int n = 0; n < 4500; ++n)
        ASSERT_EQ (delay.process ((float) (n + 1)), n < 7 ? 0.0f : (float) (n + 1 - 7)) << n;
}

TEST (DelayLine, fractionsInterpolateWithTheCurrentInputBelowOneSampleAndZeroStillStores)
{
    auto twoAndAHalf = delayOf (2.5f);
    for (float x : { 1.0f, 2.0f, 3.0f, 4.0f })
        twoAndAHalf.process (x);
    EXPECT_EQ (twoAndAHalf.process (5.0f), 2.5f);

    auto quarter = delayOf (0.25f);
    EXPECT_EQ (quarter.process (4.0f), 3.0f);
    EXPECT_EQ (quarter.process (8.0f), 7.0f);

    auto none = delayOf (0.0f);
    EXPECT_EQ (none.process (1.0f), 1.0f);
    EXPECT_EQ (none.process (2.0f), 2.0f);
    none.setDelay (2.0f);
    EXPECT_EQ (none.process (3.0f), 1.0f);
}

TEST (DelayLine, requestsOutsideTheBufferAreHeldInside)
{
    auto delay = delayOf (1.0e6f);
    EXPECT_EQ (delay.getDelaySamples(), 1999.0f);
    for (int n = 0; n <= 1999; ++n)
        ASSERT_EQ (delay.process (n == 0 ? 1.0f : 0.0f), n == 1999 ? 1.0f : 0.0f) << n;

    delay.setDelay (-5.0f);
    EXPECT_EQ (delay.process (0.25f), 0.25f);
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
