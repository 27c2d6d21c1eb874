#include "ChorusStudio.h"

namespace
{
constexpr double networkFrequency = 200.0;
constexpr double shelfQ = 0.8;
} // namespace

void ChorusStudio::prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls)
{
    prepareShared (newSampleRate, newNumOutputChannels, controls);

    fixedHighpassFilters.setCoefficients (
        juce::IIRCoefficients::makeHighPass (sampleRate, ToneFilters::guardedCorner (sampleRate, networkFrequency)));

    const auto flatShelf = juce::IIRCoefficients::makeLowShelf (sampleRate, networkFrequency, shelfQ, 1.0f);
    wetShelfFilters.setCoefficients (flatShelf);
    dryShelfFilters.setCoefficients (flatShelf);
    shelfAmount = 0.0f;

    // Also when the rate is unchanged, so that a new sample rate reaches the sweep.
    applyRate();
}

void ChorusStudio::applyWet (float value) noexcept
{
    const auto mixAmount = value * 0.01f;
    highpassWeight = mixAmount <= 0.65f ? 1.0f : 1.0f - 2.0f * (mixAmount - 0.65f);
    wetBoost = mixAmount > 0.5f ? 1.0f + 0.4f * (mixAmount - 0.5f) : wetDry.wetGain;
}

void ChorusStudio::designShelves (float amount) noexcept
{
    wetShelfFilters.setCoefficients (
        juce::IIRCoefficients::makeLowShelf (sampleRate, networkFrequency, shelfQ, 1.0f - 0.8f * amount));
    dryShelfFilters.setCoefficients (
        juce::IIRCoefficients::makeLowShelf (sampleRate, networkFrequency, shelfQ, 1.0f + 0.1f * amount));
}

void ChorusStudio::processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept
{
    if (numSamples <= 0)
        return;

    // The shelves follow the Wet control from the first sample on; the controls stay put during
    // a block, so only its first sample can see the amount change.
    const auto previousShelfAmount = shelfAmount;
    shelfAmount = wetDry.wetGain < 1.0f ? wetDry.wetGain : wetDry.dryGain;
    if (shelfAmount != previousShelfAmount)
        designShelves (shelfAmount);

    Simd::Float4 in[engineBlockSize], wet[engineBlockSize];
    auto sweepNow = sweep; // locals, so that the stores into the arrays do not force them back to memory
    const auto d = depth, t = delay;
    runLines (inL, inR, in, wet, numSamples, [&] (int) { return sweepNow.stepOppositeDelays (d, t); });
    sweep = sweepNow;

    // One loop for the filter network, so that the processor overlaps the filters' recurrences.
    auto shelves = StereoIIRFilter::startSideBySide (wetShelfFilters, dryShelfFilters);
    auto fixedHighpass = fixedHighpassFilters.start();
    auto dc = dcBlockers;
    const auto weight = highpassWeight, wetScale = wetBoost, s = 1.0f - 0.2f * shelfAmount;
    const auto dryGain = wetDry.dryGain;
    toneFilters.process (
        numSamples, [&wet] (int i) { return wet[i]; },
        [&] (int i, Simd::Float4 toned)
        {
            // Lanes 0 and 1 carry the wet shelf's channels, lanes 2 and 3 the dry shelf's.
            const auto shelved = shelves.process (lowHalves (toned, in[i]));
            const auto w = lowHalves (shelved, shelved);
            const auto dry = highHalves (shelved, shelved);
            const auto invertedHighpassed = fixedHighpass.process (-w);

            // Each side takes the other side's inverted, highpassed wet signal. Formed in double,
            // not float: the rounding of the product with 0.8 is part of the exact output.
            const auto p = (w + weight * invertedHighpassed.swappedPairs()).multipliedInDouble (0.8);

            const auto y = width.process (dc.process (p));
            storeFrame (y * wetScale * s + dry * dryGain, frames, i, numOutputChannels);
        });
    StereoIIRFilter::stopSideBySide (wetShelfFilters, dryShelfFilters, shelves);
    fixedHighpassFilters.stop (fixedHighpass);
    dcBlockers = dc;
}
