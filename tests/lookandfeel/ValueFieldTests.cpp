#include "lookandfeel/CenteredEditableLabel.h"
#include "lookandfeel/SliderQEX.h"
#include "processor/PluginProcessor.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
/** A knob bound to a real parameter with its value field, as a panel builds them. */
class TypedValues : public testing::Test
{
protected:
    ScopedDataHome dataHome;
    QexTidewellAudioProcessor processor;
    SliderQEX knob;
    CenteredEditableLabel field { "value", {} };
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> attachment;
    juce::RangedAudioParameter* parameter = nullptr;

    void attach (const juce::String& id)
    {
        attachment.reset();
        parameter = processor.parameters.getParameter (id);
        knob.setSliderStyle (juce::Slider::RotaryVerticalDrag);
        attachment =
            std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (processor.parameters, id, knob);
        field.setEditable (false, true, false);
        knob.setLabel (&field);
    }

    /** Types into the field's editor and commits, as the user does with return. */
    float type (const juce::String& text)
    {
        field.showEditor();
        field.getCurrentTextEditor()->setText (text, false);
        field.hideEditor (false);
        return parameter->convertFrom0to1 (parameter->getValue());
    }
};
} // namespace

TEST_F (TypedValues, aNumberSetsTheValueInTheParametersUnitOrInKilohertzAndTextWithoutAFiniteNumberReadsAsZero)
{
    attach ("paramSixtyTone");
    EXPECT_EQ (field.getText(), "4.0kHz") << "the field starts with the parameter's own text";

    // Each row starts from another value, so a field that ignored the text would fail it. The
    // parameters' own tests cover how their readers spell units, NaN and infinity; these rows
    // take the field's paths: a bare number whatever the unit's length, and kilohertz.
    const std::tuple<const char*, const char*, const char*, float, const char*> cases[] = {
        { "paramSixtyTone", "9000", "2 kHz", 2000.0f, "2.0kHz" },
        { "paramSixtyTone", "9000", "2KHZ", 2000.0f, "2.0kHz" },
        { "paramSixtyTone", "2000", "4000", 4000.0f, "4.0kHz" },
        { "paramSixtyTone", "2000", "loud", 1000.0f, "1.0kHz" }, // no number reads as 0, limited to the range
        { "paramSixtyDelay", "5", "25ms", 20.0f, "20.00ms" },
        { "paramSixtyRate", "1", "3", 3.0f, "3.00Hz" },
        { "paramSixtyRate", "1", "1.5k", 1.5f, "1.50Hz" },
        { "paramGain", "0", "-6", -6.0f, "-6.0dB" },
        { "paramSpread", "100", "5", 5.0f, "5%" },
        { "paramQuadRate", "2.5", "nan", 0.1f, "0.10Hz" },
        { "paramQuadRate", "2.5", "nankhz", 0.1f, "0.10Hz" },
        { "paramQuadRate", "2.5", "inf", 6.0f, "6.00Hz" },
        { "paramQuadRate", "2.5", "-inf", 0.1f, "0.10Hz" },
    };

    for (auto [id, from, typed, value, shown] : cases)
    {
        attach (id);
        ASSERT_NE (type (from), value) << id << " " << from;
        EXPECT_FLOAT_EQ (type (typed), value) << id << " " << typed;
        EXPECT_EQ (field.getText(), shown) << id << " " << typed;
    }
}

TEST_F (TypedValues, aNaNTheHostStillAnnouncesLeavesTheKnobWhereItWasAndTheMessageLoopSettles)
{
    attach ("paramQuadRate");
    type ("2.5");
    parameter->setValueNotifyingHost (std::numeric_limits<float>::quiet_NaN());
    pumpMessages();
    EXPECT_FLOAT_EQ ((float) knob.getValue(), 2.5f);
    EXPECT_FLOAT_EQ (parameter->convertFrom0to1 (parameter->getValue()), 2.5f);
}

TEST (CenteredEditableLabel, opensOnlyOnAnEnabledLeftDoubleClickAndAlwaysShowsAtFullAlpha)
{
    juce::Component panel;
    CenteredEditableLabel field ("value", "0.86Hz");
    panel.addAndMakeVisible (field);
    field.setEditable (false, true, false);

    auto doubleClick = [&field] (juce::ModifierKeys::Flags button)
    {
        const juce::Point<float> at (5.0f, 5.0f);
        const auto now = juce::Time::getCurrentTime();
        const juce::MouseEvent event (juce::Desktop::getInstance().getMainMouseSource(), at, button, 1.0f, 0.0f, 0.0f,
                                      0.0f, 0.0f, &field, &field, now, at, now, 2, false);
        field.setAlpha (0.5f);
        field.mouseDoubleClick (event);
        EXPECT_FLOAT_EQ (field.getAlpha(), 1.0f);
        const auto opened = field.isBeingEdited();
        field.hideEditor (true);
        return opened;
    };

    EXPECT_TRUE (doubleClick (juce::ModifierKeys::leftButtonModifier));
    EXPECT_FALSE (doubleClick (juce::ModifierKeys::rightButtonModifier));
    field.setEnabled (false);
    EXPECT_FALSE (doubleClick (juce::ModifierKeys::leftButtonModifier)) << "disabled field";
    field.setEnabled (true);
    panel.setEnabled (false);
    EXPECT_FALSE (doubleClick (juce::ModifierKeys::leftButtonModifier)) << "disabled parent";
}
