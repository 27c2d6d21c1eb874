#include "processor/dsp/LFO.h"

#include <gtest/gtest.h>

#include <iterator>

using Simd::Float4;

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

TEST (Lfo, blockRenderingGivesExactlyWhatTicksGive)
{
    // Odd increments, so that the phases land between entries and wrap at odd places.
    const auto oscillator = [] (bool sine, float hz, float startPhase)
    {
        LFO lfo;
        sine ? lfo.fillSine() : lfo.fillTriangle();
        lfo.setSampleRate (44100.0);
        lfo.setFrequency (hz);
        lfo.phase = startPhase;
        lfo.enablePhaseOutput (1);
        lfo.enablePhaseOutput (2);
        return lfo;
    };

    auto ticked = oscillator (true, 5.71f, 1023.9f), rendered = ticked;
    LFO four[4] { oscillator (false, 0.21f, 0.0f), oscillator (false, 6.0f, 700.3f), oscillator (true, 5.71f, 1023.5f),
                  oscillator (true, 0.1f, 341.7f) };
    LFO fourTicked[4] { four[0], four[1], four[2], four[3] };

    // Lengths below, at and past the leads' 64-tick chunks, whole multiples of four or not.
    const int lengths[] { 50, 1, 3, 64, 67, 130, 4 };
    Float4 leads[132], values[130]; // room for a multiple of four ticks
    for (int block = 0; block < 40; ++block)
    {
        const auto length = lengths[(size_t) block % std::size (lengths)];
        rendered.renderWithLeads (leads, length);
        LFO::renderFour ({ &four[0], &four[1], &four[2], &four[3] }, values, length);

        for (int n = 0; n < length; ++n)
        {
            float lanes[4];
            leads[n].store (lanes);
            const auto value = ticked.tick();
            ASSERT_EQ (lanes[0], ticked.phaseOutputs[2]) << block << ", " << n;
            ASSERT_EQ (lanes[1], ticked.phaseOutputs[1]) << block << ", " << n;
            ASSERT_EQ (lanes[2], value) << block << ", " << n;
            ASSERT_EQ (lanes[3], value) << block << ", " << n;

            values[n].store (lanes);
            for (int k = 0; k < 4; ++k)
                ASSERT_EQ (lanes[k], fourTicked[k].tick()) << block << ", " << n << ", oscillator " << k;
        }
        ASSERT_EQ (rendered.phase, ticked.phase);
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ (four[k].phase, fourTicked[k].phase);
    }
    EXPECT_EQ (rendered.phaseOutputs[1], ticked.phaseOutputs[1]);
    EXPECT_EQ (rendered.phaseOutputs[2], ticked.phaseOutputs[2]);
}
