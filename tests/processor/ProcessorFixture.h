#pragma once

#include "processor/PluginProcessor.h"
#include "support/AudioTestSupport.h"
#include "support/ParameterValues.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <map>
#include <string>

/** A "PARAM" element as state and preset XML hold it. */
inline juce::String paramElement (const char* id, const char* value)
{
    return juce::String ("<PARAM id=\"") + id + "\" value=\"" + value + "\"/>";
}

/** A host's state as the plug-in writes it: magic, a length field, the text and a closing zero. */
inline juce::MemoryBlock envelope (const juce::String& text, int lengthField)
{
    juce::MemoryOutputStream out;
    out.write ("VC2!", 4);
    out.writeInt (lengthField);
    out.write (text.toRawUTF8(), numBytesOf (text));
    out.writeByte (0);
    return out.getMemoryBlock();
}

inline juce::MemoryBlock envelope (const juce::String& text) { return envelope (text, (int) numBytesOf (text)); }

/** Runs the process in the named locale, as a host may, for the lifetime of the object; isSet
    tells whether the system has it. */
class ScopedLocale
{
public:
    explicit ScopedLocale (const char* name) : previous (std::setlocale (LC_ALL, nullptr))
    {
        isSet = std::setlocale (LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale (LC_ALL, previous.c_str()); }

    bool isSet = false;

private:
    const std::string previous;
};

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
    std::map<juce::String, float> allValues() { return parameterValues (processor); }

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
