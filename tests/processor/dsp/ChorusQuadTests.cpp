#include "processor/dsp/ChorusQuad.h"
#include "processor/dsp/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace
{
ChorusControls quadControls()
{
    auto c = typicalControls();
    c.depth = 10.0f;
    c.vibratoRate = 5.71f;
    c.vibratoAmount = 1.0f;
    c.delay = 20.0f;
    return c;
}
} // namespace

TEST (ChorusQuad, lineAPeaksAt31Point1MsAtDepth10AndDelay20)
{
    // At 65536 Hz a 1 Hz oscillator moves 1/64 table step per sample, so it reaches the top of
    // the triangle (step 256) exactly.
    ChorusQuad engine;
    engine.prepare (65536.0, 2, quadControls());

    runSilence (engine, 256 * 64 + 1);
    EXPECT_FLOAT_EQ (engine.lineADelayMs (0), 31.1f);
    // Line B moves against line A: only the vibrato, at most 5 ms, is left of it here.
    EXPECT_NEAR (engine.lineBDelayMs (0), 22.5f, 2.5f + 1.0e-4f);
}

TEST (ChorusQuad, rightOscillatorsRun117TimesFasterAtEveryRate)
{
    ChorusQuad engine;
    engine.prepare (44100.0, 2, quadControls());
    engine.prepare (48000.0, 2, quadControls());

    EXPECT_FLOAT_EQ (engine.chorusLfo (0).phaseIncrement, 1024.0f / 48000.0f);
    EXPECT_FLOAT_EQ (engine.chorusLfo (1).phaseIncrement, 1.17f * 1024.0f / 48000.0f);
    EXPECT_FLOAT_EQ (engine.vibratoLfo (1).phaseIncrement, 1.17f * 5.71f * 1024.0f / 48000.0f);

    engine.setRate (2.0f);
    EXPECT_FLOAT_EQ (engine.chorusLfo (1).phaseIncrement, 2.34f * 1024.0f / 48000.0f);
}
