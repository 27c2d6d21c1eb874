#pragma once

#include "LabelledKnob.h"
#include "lookandfeel/LookAndFeelCustom.h"
#include "lookandfeel/SliderQEX.h"
#include "processor/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The Spread and Volume knobs under the heading OUTPUT; they act on every chorus mode and
    take the colour of the mode shown. */
class OutputPanel : public juce::Component, private juce::Slider::Listener
{
public:
    explicit OutputPanel (QexTidewellAudioProcessor& processor);
    ~OutputPanel() override;

    /** Builds the two controls in the given knob colour, before the panel gets its size. A
        later call only changes the colour, which the knobs take at their next repaint: the
        editor calls it whenever it shows a mode. */
    void prepareUI (juce::Colour colour);

    /** The colour the knobs are drawn in. */
    juce::Colour getKnobColour() const { return knobLookAndFeel.rotaryColour; }

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void sliderValueChanged (juce::Slider*) override;
    LabelledKnob::Lists knobLists();

    QexTidewellAudioProcessor& audioProcessor;
    LookAndFeelCustom knobLookAndFeel;
    juce::OwnedArray<SliderQEX> sliders;
    juce::OwnedArray<LabelledKnob::Attachment> attachments;
    juce::OwnedArray<juce::Label> nameLabels;
    juce::OwnedArray<juce::Label> valueLabels;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OutputPanel)
};
