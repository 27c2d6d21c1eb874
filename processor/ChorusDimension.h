#pragma once

#include "ChorusControls.h"
#include "DcBlocker.h"
#include "Delay.h"
#include "StereoWidth.h"
#include "ToneFilters.h"
#include "TriangleSweep.h"
#include "WetDryLaw.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** The "Studio" chorus: the Sixty structure plus a 200 Hz network. Each wet channel is shelved and
    also sent, inverted and highpassed, into the other channel; the dry signal gets its own shelf.
    The shelf amounts and the cross-feed weight follow the Wet control. */
class ChorusDimension
{
public:
    ChorusDimension() = default;

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

    void processSample (float inL, float inR, float& outL, float& outR) noexcept;

    const Delay& delayLine (int channel) const noexcept { return *delays.getUnchecked (channel); }
    const StereoIIRFilter& wetShelf() const noexcept { return wetShelfFilters; }
    const StereoIIRFilter& dryShelf() const noexcept { return dryShelfFilters; }
    float getWetBoost() const noexcept { return wetBoost; }
    float getHighpassWeight() const noexcept { return highpassWeight; }

private:
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
    float previousShelfAmount = 0.0f;
    juce::OwnedArray<Delay> delays;
    juce::OwnedArray<DcBlocker> dcBlockers;
    ToneFilters toneFilters;
    StereoIIRFilter fixedHighpassFilters;
    StereoIIRFilter wetShelfFilters;
    StereoIIRFilter dryShelfFilters;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusDimension)
};

inline void ChorusDimension::processSample (float inL, float inR, float& outL, float& outR) noexcept
{
    const auto v = sweep.step();

    previousShelfAmount = shelfAmount;
    shelfAmount = wetDry.wetGain < 1.0f ? wetDry.wetGain : wetDry.dryGain;
    if (shelfAmount != previousShelfAmount)
        designShelves (shelfAmount);

    auto& left = *delays.getUnchecked (0);
    auto& right = *delays.getUnchecked (1);
    left.setDelay (delay + depth * (1.0f - (v + 1.0f) * 0.5f));
    right.setDelay (delay + depth * (v + 1.0f) * 0.5f);

    float wet[2] { left.process (inL), right.process (inR) };
    toneFilters.process (wet);
    wetShelfFilters.process (wet);

    float invertedHighpassed[2] { -wet[0], -wet[1] };
    fixedHighpassFilters.process (invertedHighpassed);

    float dry[2] { inL, inR };
    dryShelfFilters.process (dry);

    // Each side takes the other side's inverted, highpassed wet signal. Formed in double, not
    // float: the rounding of the product with 0.8 is part of the exact output.
    const auto pL = (float) ((double) (wet[0] + highpassWeight * invertedHighpassed[1]) * 0.8);
    const auto pR = (float) ((double) (wet[1] + highpassWeight * invertedHighpassed[0]) * 0.8);

    auto yL = dcBlockers.getUnchecked (0)->process (pL);
    auto yR = dcBlockers.getUnchecked (1)->process (pR);

    width.process (yL, yR);

    const auto s = 1.0f - 0.2f * shelfAmount;
    outL = yL * wetBoost * s + dry[0] * wetDry.dryGain;
    outR = yR * wetBoost * s + dry[1] * wetDry.dryGain;

    if (numOutputChannels == 1)
    {
        outL = (outL + outR) * 0.5f;
        outR = 0.0f;
    }
}
