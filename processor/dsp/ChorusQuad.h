#pragma once

#include "ChorusEngineBase.h"
#include "LFO.h"

/** The "Quad" chorus: each channel has its own triangle chorus and sine vibrato oscillators (the
    right ones 1.17 times faster, so the sides drift against each other) and two delay lines that
    sweep in opposite directions; the lines' sum passes highpass, lowpass, DC blocker and the width
    stage. */
class ChorusQuad : public ChorusEngineBase<ChorusQuad, 4, Vibrato::with>
{
public:
    /** How much faster the right oscillators run than the left ones. */
    static constexpr float rightRateRatio = 1.17f;

    ChorusQuad() = default;

    /** Takes the sample rate, output channel count and every control; refills the oscillator tables
        and rebuilds the delay lines and DC blockers (the only allocation). Oscillator phases and
        filter state carry over. */
    void prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls);

    const LFO& chorusLfo (int channel) const noexcept { return channel == 0 ? chorusLfoLeft : chorusLfoRight; }
    const LFO& vibratoLfo (int channel) const noexcept { return channel == 0 ? vibratoLfoLeft : vibratoLfoRight; }

private:
    friend ChorusEngineBase;

    void applyRate() noexcept;
    void applyVibratoRate() noexcept;
    void processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept;

    LFO chorusLfoLeft;
    LFO chorusLfoRight;
    LFO vibratoLfoLeft;
    LFO vibratoLfoRight;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusQuad)
};
