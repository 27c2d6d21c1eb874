#pragma once

#include "ChorusControls.h"
#include "DcBlocker.h"
#include "Delay.h"
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

    void processSample (float inL, float inR, float& outL, float& outR) noexcept;

    const Delay& lineA (int channel) const noexcept { return *linesA.getUnchecked (channel); }
    const Delay& lineB (int channel) const noexcept { return *linesB.getUnchecked (channel); }
    const LFO& chorusLfo (int channel) const noexcept { return channel == 0 ? chorusLfoLeft : chorusLfoRight; }
    const LFO& vibratoLfo (int channel) const noexcept { return channel == 0 ? vibratoLfoLeft : vibratoLfoRight; }

private:
    float sumOfLines (int channel, float in, float chorus, float vibrato) noexcept;

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
    float lfoValues[4] {}; // chorus left, chorus right, vibrato left, vibrato right
    juce::OwnedArray<Delay> linesA;
    juce::OwnedArray<Delay> linesB;
    juce::OwnedArray<DcBlocker> dcBlockers;
    ToneFilters toneFilters;
    LFO chorusLfoLeft;
    LFO chorusLfoRight;
    LFO vibratoLfoLeft;
    LFO vibratoLfoRight;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusQuad)
};

inline float ChorusQuad::sumOfLines (int channel, float in, float chorus, float vibrato) noexcept
{
    // Line A follows the chorus oscillator alone, from Delay + 0.31 ms up to Delay + Depth + 1.1 ms;
    // line B moves the other way and carries the vibrato.
    const auto u = (chorus + 1.0f) * 0.5f;
    auto& a = *linesA.getUnchecked (channel);
    auto& b = *linesB.getUnchecked (channel);
    a.setDelay ((depth + 0.79f) * u + delay + 0.31f);
    b.setDelay (delay + depth * ((1.0f - (vibrato + 1.0f) * 0.5f) * vibratoAmount + (1.0f - u)));
    return a.process (in) + b.process (in);
}

inline void ChorusQuad::processSample (float inL, float inR, float& outL, float& outR) noexcept
{
    lfoValues[0] = chorusLfoLeft.tick();
    lfoValues[1] = chorusLfoRight.tick();
    lfoValues[2] = vibratoLfoLeft.tick();
    lfoValues[3] = vibratoLfoRight.tick();

    float wet[2] { sumOfLines (0, inL, lfoValues[0], lfoValues[2]), sumOfLines (1, inR, lfoValues[1], lfoValues[3]) };
    toneFilters.process (wet);
    auto wL = dcBlockers.getUnchecked (0)->process (wet[0]);
    auto wR = dcBlockers.getUnchecked (1)->process (wet[1]);

    width.process (wL, wR);

    outL = wetDry.mix (wL, inL, wetDry.wetGain);
    outR = wetDry.mix (wR, inR, wetDry.wetGain);

    if (numOutputChannels == 1)
    {
        outL = (outL + outR) * 0.5f;
        outR = 0.0f;
    }
}
