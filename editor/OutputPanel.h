#pragma once

#include "KnobSlot.h"
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
        later call only changes the colour. */
    void prepareUI (juce::Colour colour);

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void sliderValueChanged (juce::Slider*) override;
    KnobSlot::Lists slotLists();

    QexTidewellAudioProcessor& audioProcessor;

public:
    /** Draws both knobs. The owner sets its rotaryColour to the shown mode's colour; the knobs
        take it at their next repaint. */
    LookAndFeelCustom knobLookAndFeel;

private:
    juce::OwnedArray<SliderQEX> sliders;
    juce::OwnedArray<KnobSlot::Attachment> attachments;
    juce::OwnedArray<juce::Label> nameLabels;
    juce::OwnedArray<juce::Label> valueLabels;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OutputPanel)
};
