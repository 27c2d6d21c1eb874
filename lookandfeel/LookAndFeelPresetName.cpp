#include "LookAndFeelPresetName.h"

void LookAndFeelPresetName::drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour&, bool, bool) {}

juce::Font LookAndFeelPresetName::getTextButtonFont (juce::TextButton&, int)
{
    // The name keeps one size however tall the browser's bar is.
    return juce::Font (12.0f);
}

void LookAndFeelPresetName::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    drawButtonLabel (g, button, asOneLine (button.getButtonText()));
}
