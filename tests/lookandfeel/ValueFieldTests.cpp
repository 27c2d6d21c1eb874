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
    CenteredEditableLabel field{ "value", {} };
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

TEST_F (TypedValues, kilohertzInAnyLetterCaseOrSpacingGivesHertz)
{
    attach ("paramSixtyTone");
    EXPECT_EQ (field.getText(), "4.0kHz") << "the field starts with the parameter's own text";

    for (auto text : { "2khz", "2 kHz", "2KHZ" })
    {
        type ("9000");
        EXPECT_FLOAT_EQ (type (text), 2000.0f) << text;
        EXPECT_EQ (field.getText(), "2.0kHz") << text;
    }
}

TEST_F (TypedValues, aBareNumberSetsThatNumberWhateverTheParametersUnit)
{
    const std::tuple<const char*, const char*, float, const char*> cases[] = {
        { "paramSixtyRate", "3", 3.0f, "3.00Hz" },
        { "paramSixtyRate", "1.5k", 1.5f, "1.50Hz" },
        { "paramStudioDepth", "7.5", 7.5f, "7.50ms" },
        { "paramGain", "-6", -6.0f, "-6.0dB" },
        { "paramQuadWet", "80", 80.0f, "80%" },
        { "paramSpread", "5", 5.0f, "5%" },
        { "paramEnsembleTone", "9000", 9000.0f, "9.0kHz" },
    };

    for (auto [id, typed, value, shown] : cases)
    {
        attach (id);
        EXPECT_FLOAT_EQ (type (typed), value) << id << " " << typed;
        EXPECT_EQ (field.getText(), shown) << id << " " << typed;
    }
}

TEST_F (TypedValues, anotherFormOfTheValueOrNoNumberPutsTheParametersTextBack)
{
    attach ("paramSixtyTone");
    EXPECT_FLOAT_EQ (type ("4000"), 4000.0f);
    EXPECT_EQ (field.getText(), "4.0kHz");
    EXPECT_FLOAT_EQ (type ("loud"), 1000.0f) << "no number reads as 0, limited to the range";
    EXPECT_EQ (field.getText(), "1.0kHz");

    attach ("paramSixtyDelay");
    EXPECT_FLOAT_EQ (type ("25ms"), 20.0f);
    EXPECT_EQ (field.getText(), "20.00ms");
}

TEST_F (TypedValues, textWithoutAFiniteNumberNeverLeavesTheKnobOrItsParameterAtNaN)
{
    attach ("paramQuadRate");
    for (auto text : { "nan", "NaN", "nanHz", "nankhz", "-nan" })
    {
        type ("2.5");
        EXPECT_FLOAT_EQ (type (text), 0.1f) << text << ": no number reads as 0, limited to the range";
        EXPECT_EQ (field.getText(), "0.10Hz") << text;
    }
    EXPECT_FLOAT_EQ (type ("inf"), 6.0f);
    EXPECT_FLOAT_EQ (type ("-inf"), 0.1f);

    // A host may still announce NaN to the knob's attachment; the knob keeps its place and the
    // message loop settles.
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

TEST (CenteredEditableLabel, theEditorShowsTheTextCentredAtTheTopWithoutTopIndent)
{
    CenteredEditableLabel field ("value", "4.0kHz");
    field.setEditable (false, true, false);
    field.showEditor();

    auto* editor = field.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getJustificationType().getFlags(), juce::Justification::centredTop);
    EXPECT_EQ (editor->getTopIndent(), 0);
    EXPECT_EQ (editor->getLeftIndent(), 4);
    field.hideEditor (true);
}
