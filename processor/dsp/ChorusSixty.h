#pragma once

#include "ChorusEngineBase.h"
#include "TriangleSweep.h"

/** The "Sixty" chorus: one delay line per channel, swept in opposite directions by one triangle,
    then highpass, lowpass, DC blocker and the width stage, with a 1.36 boost on the wet path. */
class ChorusSixty : public ChorusEngineBase<ChorusSixty, 2, Vibrato::without>
{
public:
    ChorusSixty() = default;

    /** Takes the sample rate, output channel count and every control; rebuilds the delay lines and
        DC blockers (the only allocation). The sweep and the filter state carry over. */
    void prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls);

private:
    friend ChorusEngineBase;

    void applyRate() noexcept { sweep.setRate (rate, sampleRate); }
    void applyWet (float) noexcept { boost = wetDry.wetGain * 1.36f; }
    void processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept;

    float boost = 1.36f; // wetGain x 1.36, kept with the wet gain
    TriangleSweep sweep;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusSixty)
};
