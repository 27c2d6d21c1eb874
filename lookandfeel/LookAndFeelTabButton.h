#pragma once

#include "LookAndFeelCustom.h"

/** A chorus-mode tab: a flat bar with a dot that takes the mode's colour while the tab is
    selected (toggle state on). */
class LookAndFeelTabButton : public LookAndFeelCustom
{
public:
    LookAndFeelTabButton();
    ~LookAndFeelTabButton() override = default;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool shouldDrawButtonAsHighlighted,
                         bool shouldDrawButtonAsDown) override;

    /** Colour of a selected tab's dot; the editor sets the tab's mode accent. */
    juce::Colour tabColour;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LookAndFeelTabButton)
};
