#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
using LF = LookAndFeelCustom;

struct SettingsDialogTest : EditorTest
{
    juce::String option (const char* key)
    {
        return processor.settingsTree.getChildWithName (key).getProperty ("value").toString();
    }

    juce::String savedFile() { return home.settingsFile().loadFileAsString(); }

    static juce::ComboBox& modeBox (SettingsDialog& dialog) { return *findChild<juce::ComboBox> (dialog); }

    static juce::ToggleButton& toggle (SettingsDialog& dialog, const juce::String& text)
    {
        return *findChild<juce::ToggleButton> (dialog, [&text] (juce::ToggleButton& b)
                                               { return b.getButtonText() == text; });
    }

    static juce::Label& label (SettingsDialog& dialog, const juce::String& text)
    {
        return *findChild<juce::Label> (dialog, [&text] (juce::Label& l) { return l.getText() == text; });
    }
};
} // namespace

TEST_F (SettingsDialogTest, theControlsShowTheSettingsAndOpeningWritesTheFileOnceUnchanged)
{
    processor.settingsTree.getOrCreateChildWithName ("ignorePresetInactiveModes", nullptr)
        .setProperty ("value", "true", nullptr);
    processor.settingsTree.getOrCreateChildWithName ("ignorePresetVolumeParam", nullptr)
        .setProperty ("value", "TRUE", nullptr);
    processor.settingsTree.removeChild (processor.settingsTree.getChildWithName ("ignorePresetSpreadParam"), nullptr);
    const auto expected = processor.settingsTree.createXml()->toString();

    SettingsDialog dialog (processor);
    EXPECT_FALSE (dialog.isVisible());
    EXPECT_EQ (modeBox (dialog).getText(), "Only load active chorus mode");
    EXPECT_TRUE (toggle (dialog, "Load spread").getToggleState()) << "a missing option is not set";
    EXPECT_TRUE (toggle (dialog, "Load volume").getToggleState()) << "only the exact text true sets an option";
    EXPECT_FALSE (home.settingsFile().exists());

    pumpMessages();
    EXPECT_EQ (savedFile(), expected);
    EXPECT_EQ (processor.settingsTree.createXml()->toString(), expected);
}

TEST_F (SettingsDialogTest, eachChangeWritesItsOptionAndSavesAtOnce)
{
    processor.settingsTree.removeChild (processor.settingsTree.getChildWithName ("ignorePresetSpreadParam"), nullptr);
    SettingsDialog dialog (processor);
    pumpMessages();

    toggle (dialog, "Load spread").triggerClick();
    pumpMessages();
    EXPECT_EQ (option ("ignorePresetSpreadParam"), "true");
    EXPECT_EQ (processor.settingsTree.getChild (processor.settingsTree.getNumChildren() - 1).getType().toString(),
               "ignorePresetSpreadParam")
        << "a missing option is appended";
    EXPECT_TRUE (savedFile().contains ("<ignorePresetSpreadParam value=\"true\"/>"));

    toggle (dialog, "Load volume").triggerClick();
    pumpMessages();
    EXPECT_TRUE (savedFile().contains ("<ignorePresetVolumeParam value=\"true\"/>"));
    toggle (dialog, "Load volume").triggerClick();
    pumpMessages();
    EXPECT_TRUE (savedFile().contains ("<ignorePresetVolumeParam value=\"false\"/>"));

    modeBox (dialog).setSelectedId (2);
    pumpMessages();
    EXPECT_TRUE (savedFile().contains ("<ignorePresetInactiveModes value=\"true\"/>"));
    modeBox (dialog).setSelectedId (1);
    pumpMessages();
    EXPECT_TRUE (savedFile().contains ("<ignorePresetInactiveModes value=\"false\"/>"));
}

TEST_F (SettingsDialogTest, thePanelLiesOverTheDimmedEditorWithItsRowsInPlace)
{
    SettingsDialog dialog (processor);
    dialog.setBounds (0, 0, 707, 336);

    EXPECT_EQ (modeBox (dialog).getBounds(), juce::Rectangle<int> (228, 69, 275, 25));
    EXPECT_EQ (toggle (dialog, "Load spread").getBounds(), juce::Rectangle<int> (225, 102, 100, 25));
    EXPECT_EQ (toggle (dialog, "Load volume").getBounds(), juce::Rectangle<int> (330, 102, 103, 25));
    EXPECT_EQ (label (dialog, "SETTINGS").getBounds(), juce::Rectangle<int> (131, 36, 370, 30));
    EXPECT_EQ (label (dialog, "Preset options").getBounds(), juce::Rectangle<int> (131, 69, 140, 25));
    EXPECT_EQ (label (dialog, "QEX Tidewell v1.0.1").getBounds(), juce::Rectangle<int> (131, 286, 370, 25));

    const auto image = panel::snapshot ("settings-dialog", dialog);
    const auto dimmed = juce::Colours::black.withAlpha ((juce::uint8) 0xbf);

    EXPECT_EQ (image.getPixelAt (115, 200), dimmed) << "left of the panel";
    EXPECT_TRUE (sameColour (image.getPixelAt (116, 16), LF::bgColour));
    EXPECT_TRUE (sameColour (image.getPixelAt (515, 318), LF::bgColour));
    EXPECT_EQ (image.getPixelAt (300, 319), dimmed) << "below the panel";
    EXPECT_TRUE (sameColour (image.getPixelAt (300, 144), LF::borderColour));
    EXPECT_TRUE (sameColour (image.getPixelAt (300, 277), LF::borderColour));
    EXPECT_TRUE (sameColour (image.getPixelAt (300, 200), LF::bgColour)) << "the empty band";
}

TEST_F (SettingsDialogTest, theCloseButtonHidesTheOverlayAndItReopensWithTheSameStates)
{
    auto editor = openEditor();
    auto& dialog = editor->settingsDialog;

    dialog.showOrHide();
    ASSERT_TRUE (dialog.isVisible());
    toggle (dialog, "Load volume").triggerClick();
    pumpMessages();

    findNamed<juce::Button> (dialog, "closeButton")->triggerClick();
    pumpMessages();
    EXPECT_FALSE (dialog.isVisible());

    findNamed<juce::Button> (editor->navbar, "settingsButton")->triggerClick();
    pumpMessages();
    EXPECT_TRUE (dialog.isVisible());
    EXPECT_FALSE (toggle (dialog, "Load volume").getToggleState());
    EXPECT_EQ (option ("ignorePresetVolumeParam"), "true");
}
