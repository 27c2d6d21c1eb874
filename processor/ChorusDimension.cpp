#include "ChorusDimension.h"

namespace
{
constexpr double networkFrequency = 200.0;
constexpr double shelfQ = 0.8;
} // namespace

void ChorusDimension::prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls)
{
    sampleRate = newSampleRate;
    numOutputChannels = newNumOutputChannels;

    rate = controls.rate;
    depth = controls.depth;
    delay = controls.delay;

    setHighpass (controls.highpass);
    setLowpass (controls.lowpass);

    fixedHighpassFilters.setCoefficients (
        juce::IIRCoefficients::makeHighPass (sampleRate, ToneFilters::guardedCorner (sampleRate, networkFrequency)));

    const auto flatShelf = juce::IIRCoefficients::makeLowShelf (sampleRate, networkFrequency, shelfQ, 1.0f);
    wetShelfFilters.setCoefficients (flatShelf);
    dryShelfFilters.setCoefficients (flatShelf);
    shelfAmount = 0.0f;
    previousShelfAmount = 0.0f;

    setWet (controls.wet);
    setSpread (controls.spread);

    // Also when the rate is unchanged, so that a new sample rate reaches the sweep.
    sweep.setRate (rate, sampleRate);

    Delay::rebuild (delays, 2, sampleRate);
    dcBlockers.clear();
    dcBlockers.add (new DcBlocker());
    dcBlockers.add (new DcBlocker());
}

void ChorusDimension::setRate (float value) noexcept
{
    if (value != rate)
    {
        rate = value;
        sweep.setRate (value, sampleRate);
    }
}

void ChorusDimension::setWet (float value) noexcept
{
    mixAmount = value * 0.01f;
    wetDry.setWet (value);
    highpassWeight = mixAmount <= 0.65f ? 1.0f : 1.0f - 2.0f * (mixAmount - 0.65f);
    wetBoost = mixAmount > 0.5f ? 1.0f + 0.4f * (mixAmount - 0.5f) : wetDry.wetGain;
}

void ChorusDimension::designShelves (float amount) noexcept
{
    wetShelfFilters.setCoefficients (
        juce::IIRCoefficients::makeLowShelf (sampleRate, networkFrequency, shelfQ, 1.0f - 0.8f * amount));
    dryShelfFilters.setCoefficients (
        juce::IIRCoefficients::makeLowShelf (sampleRate, networkFrequency, shelfQ, 1.0f + 0.1f * amount));
}
