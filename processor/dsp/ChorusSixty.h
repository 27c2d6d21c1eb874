#pragma once

#include "ChorusControls.h"
#include "DcBlocker.h"
#include "Delay.h"
#include "EngineBlock.h"
#include "StereoWidth.h"
#include "ToneFilters.h"
#include "TriangleSweep.h"
#include "WetDryLaw.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** The "Sixty" chorus: one delay line per channel, swept in opposite directions by one triangle,
    then highpass, lowpass, DC blocker and the width stage, with a 1.36 boost on the wet path. */
class ChorusSixty
{
public:
    ChorusSixty() = default;

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

    /** numSamples steps; frames receives the output pairs, left and right interleaved. */
    void process (const float* inL, const float* inR, float* frames, int numSamples) noexcept;

    void processSample (float inL, float inR, float& outL, float& outR) noexcept;

    /** Channel 0 is the left line, 1 the right one. */
    float delayMs (int channel) const noexcept { return lines.getDelayMs (channel); }

private:
    void processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept;

    double sampleRate = 44100.0;
    int numOutputChannels = 2;
    float rate = 0.0f;
    float depth = 0.0f;
    WetDryLaw wetDry;
    float boost = 1.36f; // wetGain x 1.36, kept with the wet gain
    float delay = 0.0f;
    StereoWidth width;
    TriangleSweep sweep;
    DelayLines<2> lines;
    BasicDcBlocker<Float4> dcBlockers;
    ToneFilters toneFilters;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusSixty)
};
