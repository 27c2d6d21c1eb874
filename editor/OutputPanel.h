#pragma once

#include "lookandfeel/LookAndFeelCustom.h"
#include "processor/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The spread and volume controls, shown over every chorus mode. */
class OutputPanel : public juce::Component
{
public:
    explicit OutputPanel (QexTidewellAudioProcessor& processor);
    ~OutputPanel() override;

    void prepareUI (juce::Colour colour);

    LookAndFeelCustom knobLookAndFeel;

private:
    QexTidewellAudioProcessor& audioProcessor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OutputPanel)
};
