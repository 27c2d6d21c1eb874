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

/** The "Studio" chorus: the Sixty structure plus a 200 Hz network. Each wet channel is shelved and
    also sent, inverted and highpassed, into the other channel; the dry signal gets its own shelf.
    The shelf amounts and the cross-feed weight follow the Wet control. */
class ChorusStudio
{
public:
    ChorusStudio() = default;

    /** Takes the sample rate, output channel count and every control; flattens the shelves and
        rebuilds the delay lines and DC blockers (the only allocation). */
    void prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls);

    void setRate (float value) noexcept;
    void setDepth (float value) noexcept { depth = value; }
    void setDelay (float value) noexcept { delay = value; }
    /** Sets the gains and the cross-feed weight; the shelves follow on the next processed sample. */
    void setWet (float value) noexcept;
    void setHighpass (float value) noexcept { toneFilters.setHighpass (sampleRate, value); }
    void setLowpass (float value) noexcept { toneFilters.setLowpass (sampleRate, value); }
    void setSpread (float value) noexcept { width.setSpread (value); }

    /** numSamples steps; frames receives the output pairs, left and right interleaved. */
    void process (const float* inL, const float* inR, float* frames, int numSamples) noexcept;

    void processSample (float inL, float inR, float& outL, float& outR) noexcept;

    float delayMs (int channel) const noexcept { return lines.getDelayMs (channel); }
    const StereoIIRFilter& wetShelf() const noexcept { return wetShelfFilters; }
    const StereoIIRFilter& dryShelf() const noexcept { return dryShelfFilters; }
    float getWetBoost() const noexcept { return wetBoost; }
    float getHighpassWeight() const noexcept { return highpassWeight; }

private:
    void processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept;
    void designShelves (float amount) noexcept;

    double sampleRate = 44100.0;
    int numOutputChannels = 2;
    float rate = 0.0f;
    float depth = 0.0f;
    float mixAmount = 0.5f;
    float wetBoost = 1.0f;
    WetDryLaw wetDry;
    float highpassWeight = 1.0f;
    float delay = 0.0f;
    StereoWidth width;
    TriangleSweep sweep;
    // 0 at both ends of the Wet control, 1 at 50 percent; 0 stands for flat shelves.
    float shelfAmount = 0.0f;
    DelayLines<2> lines;
    BasicDcBlocker<Float4> dcBlockers;
    ToneFilters toneFilters;
    StereoIIRFilter fixedHighpassFilters;
    StereoIIRFilter wetShelfFilters;
    StereoIIRFilter dryShelfFilters;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusStudio)
};
