#include "ToneFilters.h"

void ToneFilters::setHighpass (double sampleRate, float frequency) noexcept
{
    highpassFilters.setCoefficients (
        juce::IIRCoefficients::makeHighPass (sampleRate, guardedCorner (sampleRate, frequency)));
}

void ToneFilters::setLowpass (double sampleRate, float frequency) noexcept
{
    lowpassFilters.setCoefficients (
        juce::IIRCoefficients::makeLowPass (sampleRate, guardedCorner (sampleRate, frequency)));
}

double ToneFilters::guardedCorner (double sampleRate, double frequency) noexcept
{
    constexpr double lowest = 1.0;
    const auto highest = 0.49 * sampleRate;

    if (frequency >= highest)
        return highest;
    return frequency < lowest ? lowest : frequency;
}
