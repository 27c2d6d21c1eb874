#include "processor/dsp/ChorusEnsemble.h"
#include "processor/dsp/EngineTestSupport.h"

#include <gtest/gtest.h>

TEST (ChorusEnsemble, linesFollowTheChorusPhasesFromTheTableStartAtAnySampleRate)
{
    ChorusEnsemble engine;
    engine.prepare (44100.0, 2, typicalControls());
    runSilence (engine, 1);

    // At the table start the three phases read 0, +171/256 (+120 degrees) and -170/256 (+240).
    const auto c120 = 171.0f / 256.0f, c240 = -170.0f / 256.0f;
    EXPECT_FLOAT_EQ (engine.lineADelayMs (0), 2.0f + 4.0f * (c240 + 1.0f) * 0.5f);
    EXPECT_FLOAT_EQ (engine.lineADelayMs (1), 2.0f + 4.0f * (c120 + 1.0f) * 0.5f);
    EXPECT_FLOAT_EQ (engine.lineBDelayMs (0), 2.0f + 4.0f * 0.5f);
    EXPECT_FLOAT_EQ (engine.lineBDelayMs (1), engine.lineBDelayMs (0));

    // A new sample rate reaches the oscillators although their rates did not change.
    engine.prepare (96000.0, 2, typicalControls());

    EXPECT_FLOAT_EQ (engine.getChorusLfo().phaseIncrement, 1024.0f / 96000.0f);
    EXPECT_FLOAT_EQ (engine.getVibratoLfo().phaseIncrement, 5.0f * 1024.0f / 96000.0f);
}
