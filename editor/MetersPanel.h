#pragma once

#include "processor/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The output level and phase meters. */
class MetersPanel : public juce::Component
{
public:
    explicit MetersPanel (QexTidewellAudioProcessor& processor);
    ~MetersPanel() override;

private:
    QexTidewellAudioProcessor& audioProcessor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MetersPanel)
};
