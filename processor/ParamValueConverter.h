#pragma once

#include <juce_core/juce_core.h>

/** Value texts of the frequency parameters: "447Hz" below one kilohertz, "4.0kHz" above. */
class ParamValueConverter
{
public:
    static juce::String valueToTextFreq (float value, int maximumLength);
    static float textToValueFreq (const juce::String& text);
};
