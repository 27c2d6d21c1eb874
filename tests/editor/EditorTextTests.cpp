#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
/** The outline a face draws for a character it lacks. */
juce::Path missingGlyph (juce::Typeface& face)
{
    juce::Path box;
    face.getOutlineForGlyph (0x4e00, box); // a CJK ideograph, in neither face
    return box;
}

/** A software renderer that checks each glyph it draws: one whose ink crosses the clip region
    is cut off by its box, a squeezed font or three dots in a row mean text that did not fit,
    and the missing-glyph shape is a box in place of a letter. */
class TextCheckingRenderer : public juce::LowLevelGraphicsSoftwareRenderer
{
public:
    TextCheckingRenderer (const juce::Image& image, juce::StringArray& faultList)
        : LowLevelGraphicsSoftwareRenderer (image),
          faults (faultList)
    {
    }

    void drawGlyph (int glyph, const juce::AffineTransform& transform) override
    {
        const auto font = getFont();
        juce::Path outline;
        font.getTypefacePtr()->getOutlineForGlyph (glyph, outline);

        const auto ink = outline.getBoundsTransformed (
            juce::AffineTransform::scale (font.getHeight() * font.getHorizontalScale(), font.getHeight())
                .followedBy (transform));

        if (! outline.isEmpty() && ! getClipBounds().toFloat().expanded (0.5f).contains (ink))
            note ("cut off", glyph);

        if (font.getHorizontalScale() < 0.999f)
            note ("squeezed", glyph);

        dotsInARow = glyph == '.' ? dotsInARow + 1 : 0;
        if (dotsInARow == 3)
            note ("ellipsis", glyph);

        if (! outline.isEmpty() && outline == missingGlyph (*font.getTypefacePtr()))
            note ("box for", glyph);

        LowLevelGraphicsSoftwareRenderer::drawGlyph (glyph, transform);
    }

private:
    void note (const juce::String& kind, int glyph)
    {
        faults.addIfNotAlreadyThere (kind + " " + juce::String::charToString ((juce::juce_wchar) glyph));
    }

    juce::StringArray& faults;
    int dotsInARow = 0;
};

/** Paints a component as a screen of the given pixel scale shows it, saves the picture under
    the test output's editor folder and returns what was wrong with its text. */
juce::StringArray paintAndCheckText (const juce::String& name, juce::Component& c, float scale)
{
    juce::Image image (juce::Image::ARGB, juce::roundToInt ((float) c.getWidth() * scale),
                       juce::roundToInt ((float) c.getHeight() * scale), true, juce::SoftwareImageType());
    juce::StringArray faults;
    {
        TextCheckingRenderer renderer (image, faults);
        juce::Graphics g (renderer);
        g.addTransform (juce::AffineTransform::scale (scale));
        c.paintEntireComponent (g, false);
    }

    saveTestImage (image, "editor", name);
    return faults;
}

struct EditorText : EditorTest
{
    EditorText()
    {
        // Names in each script the presets may use (Azerbaijani and polytonic Greek too), one
        // longer than the bar, and one that a hand-made file breaks over lines (its file name
        // too), which draws on one line.
        const juce::File factory (processor.factoryPresetFolder);
        for (const auto* name :
             { u8"Café Größe Łódź", u8"Ελληνικό χορωδία", u8"Пресет хор Ёж", u8"Əla xor ἀρχαῖος χορός",
               u8"A preset whose name is far longer than the preset bar is wide", u8"Broken\nover\r\nthree\tlines" })
        {
            const auto file = factory.getChildFile (juce::String::fromUTF8 (name) + ".qexp");
            file.getParentDirectory().createDirectory();
            juce::XmlElement preset ("PARAMETERS");
            preset.setAttribute ("pluginName", "QEX Tidewell");
            preset.setAttribute ("presetName", file.getFileNameWithoutExtension());
            preset.writeTo (file);
        }
    }
};
} // namespace

TEST_F (EditorText, presetNamesInLatinPolytonicGreekAndCyrillicDrawAsLettersNotBoxesAndLineBreaksAsSpaces)
{
    auto editor = openEditor();
    auto& browser = editor->presetBrowser;
    auto& nameButton = *findChild<juce::TextButton> (browser);

    // Each load rebuilds the browser's list.
    const auto files = browser.getPresetFiles();
    ASSERT_EQ (files.size(), 6);

    for (const auto& file : files)
    {
        ASSERT_TRUE (choose (browser.getPresetMenu(), file.getFileNameWithoutExtension()));
        pumpMessages();
        const auto name = nameButton.getButtonText();
        EXPECT_EQ (name, file.getFileNameWithoutExtension());

        // A name too long for the bar is squeezed into it; the others show whole.
        const auto faults = paintAndCheckText ("preset-name-" + juce::String (files.indexOf (file)), browser, 1.0f);
        EXPECT_EQ (faults.isEmpty(), name.length() < 40) << name << ": " << faults.joinIntoString ("; ");
        EXPECT_FALSE (faults.joinIntoString (";").contains ("box")) << name;
    }
}

TEST_F (EditorText, everyPanelMenuAlertAndTheSettingsShowTheirWholeTextAtScalesOneAndTwo)
{
    const juce::String modes[] = { "sixty", "studio", "ensemble", "quad" };

    for (const auto scale : { 1.0f, 2.0f })
    {
        setOption ("scale", scale);
        auto editor = openEditor();
        const auto at = "scale-" + juce::String ((int) scale) + "-";
        auto expectWholeText = [] (const juce::String& what, const juce::StringArray& faults)
        { EXPECT_TRUE (faults.isEmpty()) << what << ": " << faults.joinIntoString ("; "); };

        // Each mode with every control at its default (no value given here), then at both ends
        // of its range, where the value texts are widest.
        for (const auto& [suffix, value] : { std::pair ("", -1.0f), { "-lowest", 0.0f }, { "-highest", 1.0f } })
        {
            for (auto* parameter : processor.getParameters())
                if (parameter != processor.parameters.getParameter ("paramChorusMode"))
                    parameter->setValueNotifyingHost (value < 0.0f ? parameter->getDefaultValue() : value);
            pumpMessages();

            for (size_t k = 0; k < Editor::numModes; ++k)
            {
                click (*editor->modeTabs[k]);
                const auto name = at + modes[k] + suffix;
                expectWholeText (name, paintAndCheckText (name, *editor, 1.0f));
            }
        }

        click (button (*editor, "settingsButton"));
        expectWholeText (at + "settings", paintAndCheckText (at + "settings", *editor, 1.0f));
        holdTheDisplaysFocus();

        auto checkMenu = [&] (const juce::String& name, std::function<void()> open)
        {
            auto& desktop = juce::Desktop::getInstance();
            const auto before = desktop.getNumComponents();
            open();
            pumpMessages();
            ASSERT_GT (desktop.getNumComponents(), before) << name;
            auto& menu = *desktop.getComponent (desktop.getNumComponents() - 1);
            expectWholeText (at + name, paintAndCheckText (at + name, menu, scale));
            juce::PopupMenu::dismissAllActiveMenus();
            pumpMessages();
        };

        checkMenu ("menu-settings-presets", [&] { findChild<juce::ComboBox> (editor->settingsDialog)->showPopup(); });
        click (button (*editor, "settingsButton"));
        checkMenu ("menu-logo", [&] { click (button (*editor, "logoButton")); });
        checkMenu ("menu-mode", [&] { editor->showCopyPasteMenu ("Ensemble"); });
        checkMenu ("menu-presets",
                   [&]
                   {
                       auto& name = *findChild<juce::TextButton> (editor->presetBrowser);
                       editor->presetBrowser.mouseDown (pressOn (name, juce::ModifierKeys::leftButtonModifier));
                   });

        // Alerts belong to no editor: their scale is the screen's.
        ASSERT_TRUE (choose (editor->navbar.getLogoMenu(), "User guide"));
        pumpMessages();
        ASSERT_EQ (openAlerts().size(), 1);
        expectWholeText (at + "alert", paintAndCheckText (at + "alert", *openAlerts().getFirst(), scale));
        openAlerts().getFirst()->exitModalState (0);
        pumpMessages();
    }
}
