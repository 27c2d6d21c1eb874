#include "LabelledKnob.h"

#include "lookandfeel/CenteredEditableLabel.h"

namespace LabelledKnob
{
namespace
{
// About 221 and 499 degrees clockwise from twelve o'clock: the gap sits at the bottom.
constexpr float rotaryStart = 3.85718f;
constexpr float rotaryEnd = 8.70919f;

juce::Font labelFont() { return LookAndFeelCustom::getProximaNovaSemibold().withHeight (12.0f); }
} // namespace

void add (juce::Component& panel, juce::Slider::Listener& listener, const Lists& lists,
          juce::AudioProcessorValueTreeState& parameters, const juce::String& id, const juce::String& caption,
          LookAndFeelCustom& lookAndFeel)
{
    const auto hasParameter = parameters.getParameter (id) != nullptr;

    auto* nameLabel = new juce::Label (id + "_nice", caption);
    nameLabel->setColour (juce::Label::textColourId, LookAndFeelCustom::offWhiteBrightColour);
    nameLabel->setJustificationType (juce::Justification::centredTop);
    nameLabel->setFont (labelFont());
    if (! hasParameter)
        nameLabel->setAlpha (0.6f);
    panel.addAndMakeVisible (nameLabel);
    lists.nameLabels.add (nameLabel);

    auto* valueLabel = new CenteredEditableLabel (id, {});
    valueLabel->setColour (juce::Label::textColourId, LookAndFeelCustom::midGrayColour);
    valueLabel->setColour (juce::Label::backgroundColourId, LookAndFeelCustom::bgColour);
    valueLabel->setJustificationType (juce::Justification::centredTop);
    valueLabel->setEditable (false, true, false);
    valueLabel->setFont (labelFont());
    if (! hasParameter)
    {
        valueLabel->setEnabled (false);
        valueLabel->setText ("Disabled", juce::dontSendNotification);
    }
    panel.addAndMakeVisible (valueLabel);

    auto* knob = new SliderQEX();
    if (hasParameter)
        lists.attachments.add (new Attachment (parameters, id, *knob));
    knob->addListener (&listener);
    knob->setName (id);
    knob->setSliderStyle (juce::Slider::RotaryVerticalDrag);
    knob->setRotaryParameters (rotaryStart, rotaryEnd, true);
    knob->setTextBoxStyle (juce::Slider::NoTextBox, false, 70, 20);
    knob->setTextValueSuffix ({});
    knob->setNumDecimalPlacesToDisplay (2);
    if (! hasParameter)
        knob->setEnabled (false);
    knob->setLookAndFeel (&lookAndFeel);

    // After the attachment, so the field starts with the parameter's own text.
    if (hasParameter)
        knob->setLabel (valueLabel);

    knob->sliderIndex = lists.sliders.size();
    panel.addAndMakeVisible (knob);
    lists.valueLabels.add (valueLabel);
    lists.sliders.add (knob);
}

void layOut (const Lists& lists, const std::vector<KnobBox>& knobBoxes)
{
    for (int i = 0; i < lists.sliders.size(); ++i)
    {
        auto* knob = lists.sliders[i];

        for (const auto& [name, box] : knobBoxes)
            if (knob->getName() == name)
                knob->setBounds (box);

        const auto x = knob->getX(), y = knob->getY();

        if (auto* nameLabel = lists.nameLabels[i])
            nameLabel->setBounds (x - 15, y + 49, 80, 20);

        if (auto* valueLabel = lists.valueLabels[i])
            valueLabel->setBounds (x - 15, y + 64, 80, 20);
    }
}

void showValue (const Lists& lists, juce::Slider* slider)
{
    if (auto* knob = dynamic_cast<SliderQEX*> (slider))
        if (auto* valueLabel = lists.valueLabels[knob->sliderIndex])
            valueLabel->setText (knob->getTextFromValue (knob->getValue()), juce::dontSendNotification);
}

juce::Font headingFont() { return LookAndFeelCustom::getProximaNovaCondSemibold().withHeight (15.0f); }
} // namespace LabelledKnob
