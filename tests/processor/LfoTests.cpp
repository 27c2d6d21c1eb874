#include "processor/LFO.h"

#include <gtest/gtest.h>

TEST (Lfo, tickInterpolatesThePhaseBeforeAdvancingAndWrapsAtTheTableEnd)
{
    LFO lfo;
    lfo.fillTriangle();
    lfo.setSampleRate (1024.0);
    lfo.setFrequency (0.5f); // half a table step per tick

    EXPECT_EQ (lfo.tick(), 0.0f);
    EXPECT_EQ (lfo.tick(), 0.5f / 256.0f);

    // Between the last entry and the first; the phase lands on 1024 and wraps to 0.
    lfo.phase = 1023.5f;
    EXPECT_EQ (lfo.tick(), -0.5f / 256.0f);
    EXPECT_EQ (lfo.phase, 0.0f);

    lfo.setFrequency (256.0f); // a quarter cycle per tick
    for (auto expected : { 0.0f, 1.0f, 0.0f, -1.0f, 0.0f })
        EXPECT_EQ (lfo.tick(), expected);
}

TEST (Lfo, phaseOutputsLeadByTheirAnglesAndOnlyWhenEnabled)
{
    LFO triangle;
    triangle.fillTriangle();
    triangle.enablePhaseOutput (1);
    triangle.enablePhaseOutput (2);
    triangle.phaseOutputs[0] = triangle.phaseOutputs[3] = 42.0f;

    triangle.tick();
    EXPECT_EQ (triangle.phaseOutputs[1], 171.0f / 256.0f);  // +120 degrees: 341 steps ahead
    EXPECT_EQ (triangle.phaseOutputs[2], -170.0f / 256.0f); // +240 degrees: 682 steps ahead
    EXPECT_EQ (triangle.phaseOutputs[0], 42.0f);
    EXPECT_EQ (triangle.phaseOutputs[3], 42.0f);

    // Where the lead wraps past the table end.
    triangle.phase = 700.0f;
    triangle.tick();
    EXPECT_EQ (triangle.phaseOutputs[1], triangle.table[17]);
    EXPECT_EQ (triangle.phaseOutputs[2], triangle.table[358]);
}
