#include "processor/dsp/ChorusSixty.h"
#include "processor/dsp/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace
{
// At 48 kHz this rate makes the sweep step 2^-13, so it lands exactly on +1 and -1.
constexpr double exactRate = 48000.0;
constexpr float exactSweepRate = 1.46484375f;
constexpr int stepsToTurn = 8192;

ChorusControls sixtyControls()
{
    auto c = typicalControls();
    c.rate = exactSweepRate;
    return c;
}
} // namespace

TEST (ChorusSixty, theTwoLinesSweepInOppositeDirections)
{
    ChorusSixty engine;
    engine.prepare (exactRate, 2, sixtyControls());

    runSilence (engine, stepsToTurn); // sweep at +1
    EXPECT_EQ (engine.delayMs (0), 2.0f);
    EXPECT_EQ (engine.delayMs (1), 6.0f);

    runSilence (engine, 2 * stepsToTurn); // sweep at -1
    EXPECT_EQ (engine.delayMs (0), 6.0f);
    EXPECT_EQ (engine.delayMs (1), 2.0f);
}

TEST (ChorusSixty, halfWetAddsTheBoostedWetToTheDryAndScalesBothBy063)
{
    // The wet path does not depend on the Wet control, so a fully wet twin shows it:
    // at 100 percent the output is wet x 1.36 x 0.8.
    auto controls = sixtyControls();
    ChorusSixty half, full;
    half.prepare (44100.0, 2, controls);
    controls.wet = 100.0f;
    full.prepare (44100.0, 2, controls);

    const auto left = noise (4000, 7), right = noise (4000, 8);
    for (size_t n = 0; n < left.size(); ++n)
    {
        float halfL, halfR, fullL, fullR;
        half.processSample (left[n], right[n], halfL, halfR);
        full.processSample (left[n], right[n], fullL, fullR);
        ASSERT_NEAR (halfL, (fullL / 0.8f + left[n]) * 0.63f, 1.0e-5f) << n;
        ASSERT_NEAR (halfR, (fullR / 0.8f + right[n]) * 0.63f, 1.0e-5f) << n;
    }
}
