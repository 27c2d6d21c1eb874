#include "EditorTestSupport.h"

#include <cstring>
#include <locale>
#include <map>
#include <utility>

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

TEST_F (ModeCopyPaste, textWithoutTheTagOrNotUtf8ChangesNothingAndBadPiecesAreSkipped)
{
    setAll (0.5f);
    const auto before = allValues();

    juce::MemoryBlock binary (300);
    juce::Random rng (3);
    for (auto& byte : binary)
        byte = (char) (1 + rng.nextInt (255));
    const auto tagged = "QEXTidewellMode/" + juce::String::fromUTF8 ((const char*) binary.getData(), 300) + "/Rate:0.6";

    // The clipboard keeps whatever bytes another program put there.
    const auto bytes = [] (const char* text) { return juce::String::fromUTF8 (text, (int) strlen (text)); };

    for (const auto& text :
         { juce::String(), juce::String ("QEXTidewellMode"), juce::String ("QEXTidewellModeRate:0"),
           juce::String ("qextidewellmode/Rate:0"), juce::String ("Rate:0"), tagged,
           bytes ("QEXTidewellMode/Rate:0.6/Depth:0.6\xc3"), bytes ("QEXTidewellMode/Rate:0.6/Depth:0.6\xe2\x82"),
           bytes ("QEXTidewellMode/Rate:0.6/N\xc0\xaf:0"), bytes ("QEXTidewellMode/Rate:0.6/N\xed\xa0\x80:0"),
           bytes ("QEXTidewellMode/Rate:0.6/N\xf4\x90\x80\x80:0"), bytes ("QEXTidewellMode/Rate:0.6\x80") })
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

TEST_F (ModeCopyPaste, textCarryingLineEndsTabsOrOtherLettersIsAppliedAsFarAsItNamesControls)
{
    // A value is the number at its start after any white space; without one it is 0.
    for (const auto& [value, expected] :
         { std::pair ("0.3\n", 0.3f), std::pair ("0.3\r\n", 0.3f), std::pair ("\t0.3", 0.3f), std::pair (" 0.3", 0.3f),
           std::pair ("0.3abc", 0.3f), std::pair ("abc", 0.0f) })
    {
        setAll (0.9f);
        editor->pasteModeText ("Sixty", juce::String ("QEXTidewellMode/Rate:") + value + "/Wet:" + value);
        EXPECT_FLOAT_EQ (normalised ("paramSixtyWet"), expected) << value;
        EXPECT_NEAR (normalised ("paramSixtyRate"), expected, 0.001f) << value;
    }

    // Copied from chat, mail or a terminal, with a line end or a tab picked up on the way.
    for (const auto* text : { "QEXTidewellMode/Rate:0.25/Wet:0.3\n", "QEXTidewellMode/Rate:0.25/Wet:0.3\r\n",
                              "QEXTidewellMode/Rate:0.25\r\n/Wet:\t0.3\r\n\r\n" })
    {
        setAll (0.9f);
        editor->pasteModeText ("Studio", text);
        EXPECT_FLOAT_EQ (normalised ("paramStudioWet"), 0.3f) << text;
        EXPECT_NEAR (normalised ("paramStudioRate"), 0.25f, 0.001f) << text;
    }

    setAll (0.5f);
    auto expected = allValues();
    editor->pasteModeText ("Quad",
                           juce::CharPointer_UTF8 ("QEXTidewellMode/Wet:0.35/N\xc3\xa4me:0.3/\xe2\x82\xac/Gain:0.25"));
    expected["paramQuadWet"] = 0.35f;
    expected["paramGain"] = 0.25f;
    EXPECT_EQ (allValues(), expected) << "a piece in other letters names no control and is skipped";
}

// The only tests that use the system clipboard, which test programs running side by side share.
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

// The framework reads at most 400,000 bytes of another program's clipboard text and drops the rest
// unsaid; its own copy, used here, comes back whole, so the length alone must be refused.
TEST_F (ModeCopyPaste, clipboardTextAsLongAsTheFrameworkReadsIsRefusedAsPossiblyCut)
{
    setAll (0.5f);
    const auto before = allValues();

    // Valid mode text of the given length in bytes, padded with a piece of the given letter.
    const auto textOfBytes = [] (int bytes, const char* letter)
    {
        const juce::String head ("QEXTidewellMode/Rate:0.25/"), tail ("/Gain:0.75"),
            pad (juce::CharPointer_UTF8 { letter });
        const auto room = bytes - (int) (head.getNumBytesAsUTF8() + tail.getNumBytesAsUTF8());
        const auto padBytes = (int) pad.getNumBytesAsUTF8();
        return head + juce::String::repeatedString (pad, room / padBytes)
               + juce::String::repeatedString ("x", room % padBytes) + tail;
    };

    // Two-byte letters make the limit's length in half as many characters.
    for (const auto& text : { textOfBytes (1000003, "x"), textOfBytes (400000, "x"), textOfBytes (400000, "\xc3\xa9") })
    {
        juce::SystemClipboard::copyTextToClipboard (text);
        editor->pasteMode ("Sixty");
        EXPECT_EQ (allValues(), before) << text.getNumBytesAsUTF8() << " bytes";
    }

    juce::SystemClipboard::copyTextToClipboard (textOfBytes (399999, "\xc3\xa9"));
    editor->pasteMode ("Sixty");
    EXPECT_NEAR (normalised ("paramSixtyRate"), 0.25f, 0.001f);
    EXPECT_FLOAT_EQ (normalised ("paramGain"), 0.75f);
}
