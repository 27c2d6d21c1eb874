#pragma once

#include "ChorusEngineBase.h"
#include "LFO.h"

/** The "Ensemble" chorus: one triangle chorus oscillator and one sine vibrato oscillator, each read
    at 0, +120 and +240 degrees, move two delay lines per channel; the lines' sum passes highpass,
    lowpass, DC blocker and the width stage. */
class ChorusEnsemble : public ChorusEngineBase<ChorusEnsemble, 4, Vibrato::with>
{
public:
    ChorusEnsemble() = default;

    /** Takes the sample rate, output channel count and every control; refills the oscillator tables
        and rebuilds the delay lines and DC blockers (the only allocation). Oscillator phases and
        filter state carry over. */
    void prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls);

    const LFO& getChorusLfo() const noexcept { return chorusLfo; }
    const LFO& getVibratoLfo() const noexcept { return vibratoLfo; }

private:
    friend ChorusEngineBase;

    void applyRate() noexcept { chorusLfo.setFrequency (rate); }
    void applyVibratoRate() noexcept { vibratoLfo.setFrequency (vibratoRate); }
    void processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept;

    LFO chorusLfo;
    LFO vibratoLfo;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusEnsemble)
};
