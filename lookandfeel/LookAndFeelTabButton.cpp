#include "LookAndFeelTabButton.h"

LookAndFeelTabButton::LookAndFeelTabButton() : tabColour (offWhiteBrightColour) {}

void LookAndFeelTabButton::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&, bool,
                                                 bool)
{
    const auto selected = button.getToggleState();

    g.setColour (selected ? darkGrayColour : juce::Colour (0xff222428));
    g.fillRect (button.getLocalBounds());

    g.setColour (selected ? tabColour : midGrayColour);
    g.fillEllipse ((float) button.getWidth() - 25.0f, (float) button.getHeight() * 0.5f - 5.0f, 10.0f, 10.0f);
}

void LookAndFeelTabButton::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    g.setFont (getProximaNovaCondSemibold().withHeight (15.0f));
    g.setColour (button.getToggleState() ? offWhiteBrightColour
                                         : button.findColour (juce::TextButton::textColourOffId));

    // The text box ends 5 px before the dot, so a long label never runs under it.
    if (button.getWidth() >= 46)
        g.drawFittedText (button.getButtonText(), 15, 2, button.getWidth() - 45, button.getHeight() - 2,
                          juce::Justification::left, 2, 0.0f);
}
