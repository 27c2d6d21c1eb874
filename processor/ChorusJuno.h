#pragma once

#include "ChorusControls.h"
#include "DcBlocker.h"
#include "Delay.h"
#include "StereoWidth.h"
#include "ToneFilters.h"
#include "TriangleSweep.h"
#include "WetDryLaw.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** The "Sixty" chorus: one delay line per channel, swept in opposite directions by one triangle,
    then highpass, lowpass, DC blocker and the width stage, with a 1.36 boost on the wet path. */
class ChorusJuno
{
public:
    ChorusJuno() = default;

    /** Takes the sample rate, output channel count and every control; rebuilds the delay lines and
        DC blockers (the only allocation). The sweep and the filter state carry over. */
    void prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls);

    void setRate (float value) noexcept;
    void setDepth (float value) noexcept { depth = value; }
    void setDelay (float value) noexcept { delay = value; }
    void setWet (float value) noexcept;
    void setHighpass (float value) noexcept { toneFilters.setHighpass (sampleRate, value); }
    void setLowpass (float value) noexcept { toneFilters.setLowpass (sampleRate, value); }
    void setSpread (float value) noexcept { width.setSpread (value); }

    void processSample (float inL, float inR, float& outL, float& outR) noexcept;

    /** Channel 0 is the left line, 1 the right one. */
    const Delay& delayLine (int channel) const noexcept { return *delays.getUnchecked (channel); }

private:
    double sampleRate = 44100.0;
    int numOutputChannels = 2;
    float rate = 0.0f;
    float depth = 0.0f;
    WetDryLaw wetDry;
    float boost = 1.36f; // wetGain x 1.36, kept with the wet gain
    float delay = 0.0f;
    StereoWidth width;
    TriangleSweep sweep;
    juce::OwnedArray<Delay> delays;
    juce::OwnedArray<DcBlocker> dcBlockers;
    ToneFilters toneFilters;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusJuno)
};

inline void ChorusJuno::processSample (float inL, float inR, float& outL, float& outR) noexcept
{
    const auto v = sweep.step();

    auto& left = *delays.getUnchecked (0);
    auto& right = *delays.getUnchecked (1);
    left.setDelay ((1.0f - (v + 1.0f) * 0.5f) * depth + delay);
    right.setDelay (((v + 1.0f) * 0.5f) * depth + delay);

    float wet[2] { left.process (inL), right.process (inR) };
    toneFilters.process (wet);
    auto wL = dcBlockers.getUnchecked (0)->process (wet[0]);
    auto wR = dcBlockers.getUnchecked (1)->process (wet[1]);

    width.process (wL, wR);

    outL = wetDry.mix (wL, inL, boost);
    outR = wetDry.mix (wR, inR, boost);

    if (numOutputChannels == 1)
    {
        outL = (outL + outR) * 0.5f;
        outR = 0.0f;
    }
}
