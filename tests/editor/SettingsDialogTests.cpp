#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
juce::ToggleButton& toggle (SettingsDialog& dialog, const juce::String& text)
{
    return *findChild<juce::ToggleButton> (dialog, [&] (juce::ToggleButton& b) { return b.getButtonText() == text; });
}

class SettingsOverlay : public EditorTest
{
protected:
    void removeOption (const char* key)
    {
        auto tree = processor.settings.tree(); // shares the settings' tree
        tree.removeChild (tree.getChildWithName (key), nullptr);
    }
};
} // namespace

TEST_F (SettingsOverlay, theControlsShowTheSettingsAndOpeningWritesThemOnceUnchanged)
{
    setOption ("ignorePresetInactiveModes", "true");
    setOption ("ignorePresetVolumeParam", "TRUE");
    removeOption ("ignorePresetSpreadParam");
    const auto before = processor.settings.tree().createXml()->toString();

    SettingsDialog dialog (processor);
    EXPECT_EQ (findChild<juce::ComboBox> (dialog)->getText(), "Only load active chorus mode");
    EXPECT_TRUE (toggle (dialog, "Load spread").getToggleState());
    EXPECT_TRUE (toggle (dialog, "Load volume").getToggleState()) << "only the exact text true sets an option";
    EXPECT_NE (findChild<juce::Label> (dialog, [] (juce::Label& l) { return l.getText() == "QEX Tidewell v1.0.1"; }),
               nullptr);
    pumpMessages();
    EXPECT_EQ (home.settingsFile().loadFileAsString(), before);
}

TEST_F (SettingsOverlay, eachChangeWritesItsOptionAndSavesAtOnce)
{
    SettingsDialog dialog (processor);
    pumpMessages();
    removeOption ("ignorePresetSpreadParam");

    click (toggle (dialog, "Load spread"));
    EXPECT_EQ (processor.settings.tree().getChild (3).getType().toString(), "ignorePresetSpreadParam") << "appended";
    EXPECT_EQ (saved ("ignorePresetSpreadParam"), "true");
    click (toggle (dialog, "Load volume"));
    EXPECT_EQ (saved ("ignorePresetVolumeParam"), "true");
    click (toggle (dialog, "Load volume"));
    EXPECT_EQ (saved ("ignorePresetVolumeParam"), "false");

    for (const auto* setting : { "true", "false" })
    {
        findChild<juce::ComboBox> (dialog)->setSelectedId (juce::String (setting) == "true" ? 2 : 1);
        pumpMessages();
        EXPECT_EQ (saved ("ignorePresetInactiveModes"), setting);
    }
}
