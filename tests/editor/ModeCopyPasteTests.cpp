#include "EditorTestSupport.h"

#include <locale>
#include <map>

using namespace editortest;

namespace
{
struct CommaDecimals : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
};

const juce::StringArray sharedControls { "Rate", "Depth", "Delay", "Highpass", "Tone", "Wet" };

struct ModeCopyPaste : EditorTest
{
    std::unique_ptr<QexTidewellAudioProcessorEditor> editor = openEditor();

    /** Every parameter's normalised value, by ID. */
    std::map<juce::String, float> allValues()
    {
        std::map<juce::String, float> values;
        for (auto* parameter : processor.getParameters())
            if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
                values[withId->paramID] = withId->getValue();
        return values;
    }

    void setAll (float value)
    {
        for (auto* parameter : processor.getParameters())
            parameter->setValueNotifyingHost (value);
    }

    void setMode (const juce::String& mode, float value)
    {
        for (const auto& control : sharedControls)
            setParameter ("param" + mode + control, value);
    }
};
} // namespace

TEST_F (ModeCopyPaste, copiedTextListsTheModesControlsThenSpreadAndGain)
{
    // Values snap to their parameter's steps; these are exact on every range here but the
    // delay's, which has 199 steps.
    setAll (0.5f);
    setParameter ("paramSixtyDelay", 1.0f);
    EXPECT_EQ (editor->copyMode ("Sixty"),
               "QEXTidewellMode/Rate:0.5/Depth:0.5/Delay:1/Highpass:0.5/Tone:0.5/Wet:0.5/Spread:0.5/Gain:0.5");

    setParameter ("paramQuadRate", 0.0f);
    setParameter ("paramQuadDelay", 0.0f);
    setParameter ("paramQuadWet", 0.01f);
    setParameter ("paramQuadVibAmount", 0.25f);
    setParameter ("paramSpread", 1.0f / 200.0f);
    EXPECT_EQ (editor->copyMode ("Quad"), "QEXTidewellMode/Rate:0/Depth:0.5/Delay:0/Highpass:0.5/Tone:0.5/Wet:0.01"
                                          "/VibRate:0.5/VibAmount:0.25/Spread:0.005/Gain:0.5");

    setParameter ("paramQuadHighpass", 0.00001f);
    EXPECT_TRUE (editor->copyMode ("Quad").fromFirstOccurrenceOf ("/Highpass:", false, false)
                     .upToFirstOccurrenceOf ("/", false, false)
                     .matchesWildcard ("1.*e-05", false))
        << "exponent form below 0.0001";

    setParameter ("paramEnsembleHighpass", 1.0f / 3.0f);
    EXPECT_TRUE (editor->copyMode ("Ensemble").contains ("/Highpass:0.333333/"));

    // A host may run with a locale that writes decimal commas and groups thousands.
    const auto previous = std::locale::global (std::locale (std::locale::classic(), new CommaDecimals));
    const auto underCommaLocale = editor->copyMode ("Ensemble");
    std::locale::global (previous);
    EXPECT_TRUE (underCommaLocale.contains ("/Highpass:0.333333/")) << underCommaLocale;
}

TEST_F (ModeCopyPaste, pastedValuesGoToTheTargetModeByKnobPosition)
{
    setMode ("Quad", 0.9f);
    setParameter ("paramQuadVibRate", 0.9f);
    setParameter ("paramQuadVibAmount", 0.9f);
    juce::SystemClipboard::copyTextToClipboard (
        "QEXTidewellMode/Rate:0.25/Depth:0.25/Delay:0.25/Highpass:0.25/Tone:0.25/Wet:0.25/Spread:0.75/Gain:0.25");

    editor->pasteMode ("Quad");
    for (const auto& control : sharedControls)
        EXPECT_NEAR (normalised ("paramQuad" + control), 0.25f, 0.006f) << control;
    EXPECT_FLOAT_EQ (normalised ("paramQuadVibRate"), 0.9f) << "not in the text";
    EXPECT_FLOAT_EQ (normalised ("paramSpread"), 0.75f);
    EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue ("paramGain")->load(), -6.0f);

    // Vibrato fields name no Studio parameter; the rest still applies.
    editor->pasteModeText ("Studio", "QEXTidewellMode/VibRate:0.1/Rate:0.5/VibAmount:0.1/Wet:1");
    EXPECT_FLOAT_EQ (normalised ("paramStudioRate"), 0.5f);
    EXPECT_FLOAT_EQ (normalised ("paramStudioWet"), 1.0f);
    EXPECT_FLOAT_EQ (normalised ("paramQuadVibRate"), 0.9f);
}

TEST_F (ModeCopyPaste, textWithoutTheTagChangesNothingAndBadPiecesAreSkipped)
{
    setAll (0.5f);
    const auto before = allValues();

    for (const auto* text : { "", "QEXTidewellMode", "QEXTidewellModeRate:0", "qextidewellmode/Rate:0",
                              " QEXTidewellMode/Rate:0", "Rate:0/Depth:0" })
    {
        juce::SystemClipboard::copyTextToClipboard (text);
        editor->pasteMode ("Sixty");
        EXPECT_EQ (allValues(), before) << text;
    }

    editor->pasteModeText ("Sixty", "QEXTidewellMode//Rate/Depth:0.1:0.2/Delay:nan/Tone:inf/Wet:x/Highpass:"
                                    "/Mode:1/rate:0/Gain:0.25junk/Gain:0.75");
    auto expected = before;
    expected["paramSixtyWet"] = 0.0f;
    expected["paramSixtyHighpass"] = 0.0f;
    expected["paramGain"] = 0.75f;
    EXPECT_EQ (allValues(), expected);

    editor->pasteModeText ("Sixty", "QEXTidewellMode/Rate:7/Depth:-3");
    EXPECT_EQ (normalised ("paramSixtyRate"), 1.0f);
    EXPECT_EQ (normalised ("paramSixtyDepth"), 0.0f);
}

TEST_F (ModeCopyPaste, theMenuCopiesAndPastesThroughTheClipboard)
{
    setMode ("Studio", 0.2f);
    setMode ("Sixty", 0.8f);
    editor->showCopyPasteMenu ("Studio");
    ASSERT_TRUE (chooseMenuItem (editor->copyPasteMenu, "Copy"));
    EXPECT_EQ (juce::SystemClipboard::getTextFromClipboard(), editor->copyMode ("Studio"));

    editor->showCopyPasteMenu ("Sixty");
    ASSERT_TRUE (chooseMenuItem (editor->copyPasteMenu, "Paste"));
    for (const auto& control : sharedControls)
        EXPECT_NEAR (normalised ("paramSixty" + control), normalised ("paramStudio" + control), 1.0e-6f) << control;

    // An action of a menu that outlives its editor does nothing.
    editor->showCopyPasteMenu ("Sixty");
    const auto menu = editor->copyPasteMenu;
    editor.reset();
    juce::SystemClipboard::copyTextToClipboard ("kept");
    EXPECT_TRUE (chooseMenuItem (menu, "Copy"));
    EXPECT_EQ (juce::SystemClipboard::getTextFromClipboard(), "kept");

    juce::PopupMenu::dismissAllActiveMenus();
    pumpMessages();
}

TEST_F (ModeCopyPaste, duplicatingAModeFillsTheOtherThreeAndLeavesItsTextOnTheClipboard)
{
    setAll (0.0f);
    setMode ("Ensemble", 0.6f);
    setParameter ("paramEnsembleVibRate", 0.4f);
    setParameter ("paramEnsembleVibAmount", 0.3f);
    setParameter ("paramSpread", 0.5f);

    editor->duplicateToAllModes ("Ensemble");

    EXPECT_EQ (juce::SystemClipboard::getTextFromClipboard(), editor->copyMode ("Ensemble"));
    for (const auto* mode : { "Sixty", "Studio", "Quad" })
        for (const auto& control : sharedControls)
            EXPECT_NEAR (normalised (juce::String ("param") + mode + control), 0.6f, 0.006f) << mode << control;

    EXPECT_NEAR (normalised ("paramQuadVibRate"), 0.4f, 0.002f);
    EXPECT_FLOAT_EQ (normalised ("paramQuadVibAmount"), 0.3f);
    EXPECT_FLOAT_EQ (normalised ("paramSpread"), 0.5f);
    EXPECT_FLOAT_EQ (normalised ("paramChorusMode"), 0.0f) << "the mode itself is no field";
}
