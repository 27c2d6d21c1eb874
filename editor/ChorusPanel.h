#pragma once

#include "processor/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The controls of one chorus mode. */
class ChorusPanel : public juce::Component
{
public:
    ChorusPanel (QexTidewellAudioProcessor& processor, juce::String modeName);
    ~ChorusPanel() override;

    void prepareUI (juce::Colour colour);

private:
    QexTidewellAudioProcessor& audioProcessor;
    juce::String mode;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusPanel)
};
