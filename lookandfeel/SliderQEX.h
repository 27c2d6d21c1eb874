#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A parameter knob whose value shows in a separate label below it. Text typed into that
    label sets the knob, and through its attachment the parameter. */
class SliderQEX : public juce::Slider
{
public:
    SliderQEX() = default;
    ~SliderQEX() override = default;

    /** Links the value label: it shows the knob's value text and its edits set the knob.
        Call once the knob is attached to its parameter. The label is not owned. */
    void setLabel (juce::Label* label);

    juce::Label* linkedLabel = nullptr;

    /** The knob's place in its panel's list of knobs, set and read by the panel. */
    int sliderIndex = 0;

    void valueChanged() override;

private:
    void applyTypedText();

    double lastFiniteValue = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SliderQEX)
};
