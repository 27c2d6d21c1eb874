#pragma once

#include "LookAndFeelCustom.h"

/** The preset name in the preset browser: a text button with no background of its own, so
    only its text shows over the bar the browser paints. */
class LookAndFeelPresetName : public LookAndFeelCustom
{
public:
    LookAndFeelPresetName() = default;
    ~LookAndFeelPresetName() override = default;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LookAndFeelPresetName)
};
