#include "ParamValueConverter.h"

#include <cmath>

juce::String ParamValueConverter::valueToTextFreq (float value, int /*maximumLength*/)
{
    if (value > 999.99f)
        return juce::String (value / 1000.0f, 1) + "kHz";

    // Halves away from zero, so 999.5 and above read 1000Hz.
    return juce::String (std::round (value), 0) + "Hz";
}

float ParamValueConverter::textToValueFreq (const juce::String& text)
{
    const auto lower = text.toLowerCase();

    if (lower.endsWith ("khz"))
        return (float) (lower.dropLastCharacters (3).getDoubleValue() * 1000.0);

    return (float) lower.dropLastCharacters (2).getDoubleValue();
}
