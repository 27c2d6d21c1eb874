#pragma once

#include "processor/dsp/ChorusControls.h"

#include <juce_core/juce_core.h>

#include <vector>

/** Controls that engine tests start from: Rate 1 Hz, Depth 4 ms, Vibrato Rate 5 Hz, no vibrato,
    Delay 2 ms, Wet 50 %, Highpass 20 Hz, Lowpass 12 kHz, Spread 100 % (width stage off). */
inline ChorusControls typicalControls() { return { 1.0f, 4.0f, 5.0f, 0.0f, 2.0f, 50.0f, 20.0f, 12000.0f, 100.0f }; }

/** Steps an engine through silence, to move its modulators along. */
template <typename Engine>
void runSilence (Engine& engine, int samples)
{
    float outL, outR;
    for (int n = 0; n < samples; ++n)
        engine.processSample (0.0f, 0.0f, outL, outR);
}

inline std::vector<float> noise (int samples, juce::int64 seed)
{
    juce::Random random (seed);
    std::vector<float> values ((size_t) samples);
    for (auto& v : values)
        v = random.nextFloat() * 2.0f - 1.0f;
    return values;
}
