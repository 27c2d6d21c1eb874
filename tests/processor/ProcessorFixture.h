#pragma once

#include "processor/PluginProcessor.h"
#include "support/AudioTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

/** A "PARAM" element as state and preset XML hold it. */
inline juce::String paramElement (const char* id, const char* value)
{
    return juce::String ("<PARAM id=\"") + id + "\" value=\"" + value + "\"/>";
}

/** A fresh processor in its own data folder, with a recorder of its status messages. */
class ProcessorFixture : public testing::Test
{
protected:
    ScopedDataHome dataHome;
    QexTidewellAudioProcessor processor;
    ActionRecorder messages { processor };

    float value (const juce::String& id) { return processor.parameters.getRawParameterValue (id)->load(); }

    void set (const juce::String& id, float newValue) { setParameter (processor, id, newValue); }

    juce::String presetName() { return processor.parameters.state[QexTidewellAudioProcessor::presetDataName]; }
    juce::String presetPath() { return processor.parameters.state[QexTidewellAudioProcessor::presetDataPath]; }

    /** Every parameter's ID with its current value. */
    std::map<juce::String, float> allValues()
    {
        std::map<juce::String, float> values;
        for (auto* parameter : processor.getParameters())
            if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
                values[withId->paramID] = value (withId->paramID);
        return values;
    }

    /** Moves every parameter away from its default, each to a different place in its range. */
    void setEveryParameterAwayFromDefault()
    {
        auto proportion = 0.05f;
        for (auto* parameter : processor.getParameters())
        {
            parameter->setValueNotifyingHost (proportion);
            if (parameter->getValue() == parameter->getDefaultValue())
                parameter->setValueNotifyingHost (1.0f - parameter->getDefaultValue());
            proportion += 0.029f;
        }
    }
};
