#pragma once

#include "ChorusEngineBase.h"
#include "StereoIIRFilter.h"
#include "TriangleSweep.h"

/** The "Studio" chorus: the Sixty structure plus a 200 Hz network. Each wet channel is shelved and
    also sent, inverted and highpassed, into the other channel; the dry signal gets its own shelf.
    The shelf amounts and the cross-feed weight follow the Wet control. */
class ChorusStudio : public ChorusEngineBase<ChorusStudio, 2, Vibrato::without>
{
public:
    ChorusStudio() = default;

    /** Takes the sample rate, output channel count and every control; flattens the shelves and
        rebuilds the delay lines and DC blockers (the only allocation). */
    void prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls);

    const StereoIIRFilter& wetShelf() const noexcept { return wetShelfFilters; }
    const StereoIIRFilter& dryShelf() const noexcept { return dryShelfFilters; }
    float getWetBoost() const noexcept { return wetBoost; }
    float getHighpassWeight() const noexcept { return highpassWeight; }

private:
    friend ChorusEngineBase;

    void applyRate() noexcept { sweep.setRate (rate, sampleRate); }
    /** Sets the boost and the cross-feed weight; the shelves follow on the next processed sample. */
    void applyWet (float value) noexcept;
    void processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept;
    void designShelves (float amount) noexcept;

    float wetBoost = 1.0f;
    float highpassWeight = 1.0f;
    TriangleSweep sweep;
    // 0 at both ends of the Wet control, 1 at 50 percent; 0 stands for flat shelves.
    float shelfAmount = 0.0f;
    StereoIIRFilter fixedHighpassFilters;
    StereoIIRFilter wetShelfFilters;
    StereoIIRFilter dryShelfFilters;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusStudio)
};
