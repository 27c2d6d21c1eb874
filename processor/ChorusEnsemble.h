#pragma once

#include "ChorusControls.h"
#include "DcBlocker.h"
#include "Delay.h"
#include "LFO.h"
#include "StereoWidth.h"
#include "ToneFilters.h"
#include "WetDryLaw.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** The "Ensemble" chorus: one triangle chorus oscillator and one sine vibrato oscillator, each read
    at 0, +120 and +240 degrees, move two delay lines per channel; the lines' sum passes highpass,
    lowpass, DC blocker and the width stage. */
class ChorusEnsemble
{
public:
    ChorusEnsemble() = default;

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
    const LFO& getChorusLfo() const noexcept { return chorusLfo; }
    const LFO& getVibratoLfo() const noexcept { return vibratoLfo; }

private:
    float sumOfLines (int channel, float in, float delayA, float delayB) noexcept;

    double sampleRate = 44100.0;
    int numOutputChannels = 2;
    float rate = 0.0f;
    float depth = 0.0f;
    float vibratoRate = 0.0f;
    float vibratoAmount = 0.0f; // the Vibrato Amount control, halved
    WetDryLaw wetDry;
    float delay = 0.0f;
    StereoWidth width;
    float chorusValues[3] {};  // 0, +120, +240 degrees
    float vibratoValues[3] {}; // 0, +120, +240 degrees
    juce::OwnedArray<Delay> linesA;
    juce::OwnedArray<Delay> linesB;
    juce::OwnedArray<DcBlocker> dcBlockers;
    ToneFilters toneFilters;
    LFO chorusLfo;
    LFO vibratoLfo;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusEnsemble)
};

inline float ChorusEnsemble::sumOfLines (int channel, float in, float delayA, float delayB) noexcept
{
    auto& a = *linesA.getUnchecked (channel);
    auto& b = *linesB.getUnchecked (channel);
    a.setDelay (delayA);
    b.setDelay (delayB);
    return a.process (in) + b.process (in);
}

inline void ChorusEnsemble::processSample (float inL, float inR, float& outL, float& outR) noexcept
{
    chorusValues[0] = chorusLfo.tick();
    chorusValues[1] = chorusLfo.phaseOutputs[1];
    chorusValues[2] = chorusLfo.phaseOutputs[2];
    vibratoValues[0] = vibratoLfo.tick();
    vibratoValues[1] = vibratoLfo.phaseOutputs[1];
    vibratoValues[2] = vibratoLfo.phaseOutputs[2];

    const auto c0 = chorusValues[0], c120 = chorusValues[1], c240 = chorusValues[2];
    const auto vb0 = vibratoValues[0], vb120 = vibratoValues[1], vb240 = vibratoValues[2];

    // Line B is the same on both sides; line A takes the +240 degree phases on the left and the
    // +120 degree phases on the right.
    const auto delayB = delay + depth * ((vb0 + 1.0f) * 0.5f * vibratoAmount + (c0 + 1.0f) * 0.5f);
    const auto delayLeftA = ((vb240 + 1.0f) * 0.5f * vibratoAmount + (c240 + 1.0f) * 0.5f) * depth + delay;
    const auto delayRightA = ((vb120 + 1.0f) * 0.5f * vibratoAmount + (c120 + 1.0f) * 0.5f) * depth + delay;

    float wet[2] { sumOfLines (0, inL, delayLeftA, delayB), sumOfLines (1, inR, delayRightA, delayB) };
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
