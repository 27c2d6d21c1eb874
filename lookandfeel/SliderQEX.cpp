#include "SliderQEX.h"

#include "processor/params/ParamValueConverter.h"

#include <cmath>

void SliderQEX::setLabel (juce::Label* label)
{
    linkedLabel = label;
    linkedLabel->setText (getTextFromValue (getValue()), juce::dontSendNotification);
    linkedLabel->onTextChange = [this] { applyTypedText(); };
    linkedLabel->onEditorShow = [] {};
    linkedLabel->onEditorHide = [] {};
}

void SliderQEX::valueChanged()
{
    // A slider given NaN never settles: its value listener sets it again and again, since
    // NaN equals nothing. A host may still announce NaN to the attachment after the parameter
    // refused it; the knob then stays where it was.
    if (std::isnan (getValue()))
        setValue (lastFiniteValue, juce::dontSendNotification);
    else
        lastFiniteValue = getValue();
}

void SliderQEX::applyTypedText()
{
    auto text = linkedLabel->getText().toLowerCase();

    // Kilohertz is the only unit users type that changes the number: the parameters read
    // their values in hertz.
    if (text.endsWith ("khz"))
        text = juce::String (ParamValueConverter::readValue (text) * 1000.0);

    // Each parameter's text rule cuts its unit's length (one or two characters) from the end
    // before reading the number. The filler is all it cuts, so a bare number stays whole and
    // a typed unit is left for the number reader to stop at.
    text += "abc";

    const auto value = snapValue (getValueFromText (text), juce::Slider::notDragging);

    if (! std::isnan (value))
        setValue (value, juce::sendNotificationSync);

    const auto shown = getTextFromValue (getValue());

    if (shown != linkedLabel->getText())
        linkedLabel->setText (shown, juce::dontSendNotification);
}
