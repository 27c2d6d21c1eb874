#pragma once

#include "processor/PluginProcessor.h"

#include <map>

/** Every parameter's ID with its current value. Free of the test framework, so that the fuzz
    programs use it too. */
inline std::map<juce::String, float> parameterValues (QexTidewellAudioProcessor& processor)
{
    std::map<juce::String, float> values;

    for (auto* parameter : processor.getParameters())
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
            values[withId->paramID] = processor.parameters.getRawParameterValue (withId->paramID)->load();

    return values;
}
