#pragma once

#include "ChorusControls.h"
#include "DcBlocker.h"
#include "Delay.h"
#include "EngineBlock.h"
#include "LFO.h"
#include "StereoWidth.h"
#include "ToneFilters.h"
#include "WetDryLaw.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** The "Quad" chorus: each channel has its own triangle chorus and sine vibrato oscillators (the
    right ones 1.17 times faster, so the sides drift against each other) and two delay lines that
    sweep in opposite directions; the lines' sum passes highpass, lowpass, DC blocker and the width
    stage. */
class ChorusQuad
{
public:
    ChorusQuad() = default;

    /** Takes the sample rate, output channel count and every control; refills the oscillator tables
        and rebuilds the delay lines and DC blockers (the only allocation). Oscillator phases and
        filter state carry over. */
    void prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls);

    void setRate (float value) noexcept;
    void setDepth (float value) noexcept { depth = value; }
    void setVibratoRate (float value) noexcept;
    void setVibratoAmount (float value) noexcept { vibratoAmount = value * 0.5f; }
    void setDelay (float value) noexcept { delay = value; }
    void setWet (float value) noexcept { wetDry.setWet (value); }
    void setHighpass (float value) noexcept { toneFilters.setHighpass (sampleRate, value); }
    void setLowpass (float value) noexcept { toneFilters.setLowpass (sampleRate, value); }
    void setSpread (float value) noexcept { width.setSpread (value); }

    /** numSamples steps; frames receives the output pairs, left and right interleaved. */
    void process (const float* inL, const float* inR, float* frames, int numSamples) noexcept;

    void processSample (float inL, float inR, float& outL, float& outR) noexcept;

    float lineADelayMs (int channel) const noexcept { return lines.getDelayMs (channel); }
    float lineBDelayMs (int channel) const noexcept { return lines.getDelayMs (2 + channel); }
    const LFO& chorusLfo (int channel) const noexcept { return channel == 0 ? chorusLfoLeft : chorusLfoRight; }
    const LFO& vibratoLfo (int channel) const noexcept { return channel == 0 ? vibratoLfoLeft : vibratoLfoRight; }

private:
    void processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept;

    static constexpr float rightRateRatio = 1.17f;

    double sampleRate = 44100.0;
    int numOutputChannels = 2;
    float rate = 0.0f;
    float depth = 0.0f;
    float vibratoRate = 0.0f;
    float vibratoAmount = 0.0f; // the Vibrato Amount control, halved
    WetDryLaw wetDry;
    float delay = 0.0f;
    StereoWidth width;
    DelayLines<4> lines; // lanes: line A left, line A right, line B left, line B right
    BasicDcBlocker<Float4> dcBlockers;
    ToneFilters toneFilters;
    LFO chorusLfoLeft;
    LFO chorusLfoRight;
    LFO vibratoLfoLeft;
    LFO vibratoLfoRight;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusQuad)
};
