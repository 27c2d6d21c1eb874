#pragma once

#include "LabelledKnob.h"
#include "lookandfeel/LookAndFeelCustom.h"
#include "lookandfeel/SliderQEX.h"
#include "processor/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The eight knobs of one chorus mode under the headings CHORUS, VIBRATO and MIX. Every mode
    has the same knobs in the same places; modes without a vibrato show those two disabled. */
class ChorusPanel : public juce::Component, private juce::Slider::Listener
{
public:
    /** modeName is the name of one of the control table's modes. */
    ChorusPanel (QexTidewellAudioProcessor& processor, juce::String modeName);
    ~ChorusPanel() override;

    /** Builds the controls in the mode's colour, before the panel gets its size. A later call
        only changes the colour. */
    void prepareUI (juce::Colour colour);

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void sliderValueChanged (juce::Slider*) override;
    LabelledKnob::Lists knobLists();

    QexTidewellAudioProcessor& audioProcessor;
    LookAndFeelCustom knobLookAndFeel;
    juce::String mode;
    juce::Colour colour;
    juce::OwnedArray<SliderQEX> sliders;
    juce::OwnedArray<LabelledKnob::Attachment> attachments;
    juce::OwnedArray<juce::Label> nameLabels;
    juce::OwnedArray<juce::Label> valueLabels;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChorusPanel)
};
