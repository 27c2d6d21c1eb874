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

struct ModeCopyPaste : EditorTest
{
    std::unique_ptr<Editor> editor = openEditor();

    std::map<juce::String, float> allValues()
    {
        std::map<juce::String, float> values;
        for (auto* parameter : processor.getParameters())
            values[dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter)->paramID] = parameter->getValue();
        return values;
    }

    void setAll (float value)
    {
        for (auto* parameter : processor.getParameters())
            parameter->setValueNotifyingHost (value);
    }

    void expectModeControls (const juce::String& mode, float value)
    {
        for (const auto* control : { "Rate", "Depth", "Delay", "Highpass", "Tone", "Wet" })
            EXPECT_NEAR (normalised ("param" + mode + control), value, 0.006f) << mode << control;
    }
};
} // namespace

TEST_F (ModeCopyPaste, theTextListsTheModesControlsThenSpreadAndGainInSixDigits)
{
    setAll (0.5f);
    setParameter ("paramSixtyDelay", 1.0f); // 0.5 is no step of the delay's range
    EXPECT_EQ (editor->copyMode ("Sixty"),
               "QEXTidewellMode/Rate:0.5/Depth:0.5/Delay:1/Highpass:0.5/Tone:0.5/Wet:0.5/Spread:0.5/Gain:0.5");

    setParameter ("paramQuadRate", 0.0f);
    setParameter ("paramQuadHighpass", 1.0f / 3.0f);
    setParameter ("paramSpread", 1.0f / 200.0f);
    EXPECT_EQ (editor->copyMode ("Quad"),
               "QEXTidewellMode/Rate:0/Depth:0.5/Delay:0.502513/Highpass:0.333333/Tone:0.5"
               "/Wet:0.5/VibRate:0.5/VibAmount:0.5/Spread:0.005/Gain:0.5");

    // A host may run with a locale that writes decimal commas.
    setParameter ("paramQuadHighpass", 0.00001f);
    const auto previous = std::locale::global (std::locale (std::locale::classic(), new CommaDecimals));
    const auto text = editor->copyMode ("Quad");
    std::locale::global (previous);
    EXPECT_TRUE (text.fromFirstOccurrenceOf ("/Highpass:", false, false).matchesWildcard ("1.*e-05/*", false)) << text;
}

TEST_F (ModeCopyPaste, pastingSetsTheTargetModeByKnobPositionAndSkipsWhatItLacks)
{
    setAll (0.9f);
    editor->pasteModeText ("Quad",
                           "QEXTidewellMode/Rate:0.25/Depth:0.25/Delay:0.25/Highpass:0.25/Tone:0.25/Wet:0.25"
                           "/Spread:0.75/Gain:0.25");
    expectModeControls ("Quad", 0.25f);
    EXPECT_FLOAT_EQ (normalised ("paramQuadVibRate"), 0.9f);
    EXPECT_FLOAT_EQ (normalised ("paramSpread"), 0.75f);
    EXPECT_FLOAT_EQ (processor.parameters.getRawParameterValue ("paramGain")->load(), -6.0f);

    editor->pasteModeText ("Studio", "QEXTidewellMode/VibRate:0.1/Rate:0.5");
    EXPECT_FLOAT_EQ (normalised ("paramStudioRate"), 0.5f);
}

TEST_F (ModeCopyPaste, textWithoutTheTagOrNotOneLineOfAsciiChangesNothingAndBadPiecesAreSkipped)
{
    setAll (0.5f);
    const auto before = allValues();

    juce::MemoryBlock binary (300);
    juce::Random rng (3);
    for (auto& byte : binary)
        byte = (char) (1 + rng.nextInt (255));
    const auto tagged = "QEXTidewellMode/" + juce::String::fromUTF8 ((const char*) binary.getData(), 300) + "/Rate:0.6";

    for (const auto& text : { juce::String(), juce::String ("QEXTidewellMode"), juce::String ("QEXTidewellModeRate:0"),
                              juce::String ("qextidewellmode/Rate:0"), juce::String ("Rate:0"), tagged,
                              juce::String ("QEXTidewellMode/Rate:0.6\n/Depth:0.6"),
                              juce::String ("QEXTidewellMode/Rate:0.6/Depth:") + juce::String::charToString (0xe9) })
    {
        editor->pasteModeText ("Sixty", text);
        EXPECT_EQ (allValues(), before) << text;
    }

    editor->pasteModeText ("Sixty",
                           "QEXTidewellMode//Rate/Depth:0.1:0.2/Delay:nan/Tone:inf/Wet:x/Highpass:"
                           "/Mode:1/rate:0/Gain:0.25junk/Gain:0.75/Spread:7/Rate:-inf");
    auto expected = before;
    expected["paramSixtyWet"] = expected["paramSixtyHighpass"] = 0.0f;
    expected["paramSixtyTone"] = 1.0f;
    expected["paramSixtyRate"] = 0.0f;
    expected["paramGain"] = 0.75f;
    expected["paramSpread"] = 1.0f;
    EXPECT_EQ (allValues(), expected) << "only NaN is skipped; infinity is a number past the range";
}

// The only test that uses the system clipboard, which test programs running side by side share.
TEST_F (ModeCopyPaste, theMenuDuplicatesCopiesAndPastesThroughTheClipboardWhileTheEditorLives)
{
    setAll (0.0f);
    for (const auto* control : { "Rate", "Depth", "Delay", "Highpass", "Tone", "Wet", "VibAmount" })
        setParameter (juce::String ("paramEnsemble") + control, 0.6f);

    editor->showCopyPasteMenu ("Ensemble");
    ASSERT_TRUE (choose (editor->copyPasteMenu, "Duplicate to all modes"));
    EXPECT_EQ (juce::SystemClipboard::getTextFromClipboard(), editor->copyMode ("Ensemble"));
    for (const auto* mode : { "Sixty", "Studio", "Quad" })
        expectModeControls (mode, 0.6f);
    EXPECT_FLOAT_EQ (normalised ("paramQuadVibAmount"), 0.6f);

    setParameter ("paramStudioRate", 0.2f);
    editor->showCopyPasteMenu ("Studio");
    ASSERT_TRUE (choose (editor->copyPasteMenu, "Copy"));
    editor->showCopyPasteMenu ("Sixty");
    ASSERT_TRUE (choose (editor->copyPasteMenu, "Paste"));
    EXPECT_FLOAT_EQ (normalised ("paramSixtyRate"), 0.2f);

    const auto menu = editor->copyPasteMenu;
    editor.reset();
    juce::SystemClipboard::copyTextToClipboard ("kept");
    EXPECT_TRUE (choose (menu, "Copy"));
    EXPECT_EQ (juce::SystemClipboard::getTextFromClipboard(), "kept");
}
