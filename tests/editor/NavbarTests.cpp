#include "EditorTestSupport.h"

using namespace editortest;

using TopBar = EditorTest;

TEST_F (TopBar, theBypassIconFollowsTheParameterAndAClickFlipsIt)
{
    auto editor = openEditor();
    auto& bypass = button (editor->navbar, "BypassButton");
    const auto icon = [&bypass] (const char* name) { return render::strongestPixel (panel::snapshot (name, bypass)); };

    EXPECT_TRUE (render::sameColour (icon ("bypass-active"), LF::offWhiteBrightColour));
    setParameter ("paramBypassGlobal", 1.0f);
    EXPECT_TRUE (render::sameColour (icon ("bypass-bypassed"), LF::midGrayColour));
    click (bypass);
    EXPECT_EQ (normalised ("paramBypassGlobal"), 0.0f);
}

TEST_F (TopBar, resetGuiScalingReturnsToTheBaseSizeInPlaceAndSavesScaleOne)
{
    setOption ("scale", 2.0);
    auto editor = openEditor();
    pumpMessages();
    editor->setTopLeftPosition (40, 30);

    ASSERT_TRUE (choose (editor->navbar.getLogoMenu(), "Reset GUI scaling"));
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (40, 30, 707, 336));
    EditorTestAccess::endSaveDelay (*editor);
    EXPECT_EQ (saved ("scale"), "1.0");
}

TEST_F (TopBar, theUserIsWarnedOfAMissingGuideAndOfAPresetNotSavedButNotOfACancelledSave)
{
    auto editor = openEditor();
    const juce::File userFolder (processor.userPresetFolder);
    juce::File (processor.dataFolder).getChildFile (Navbar::userGuideFileName).createDirectory();

    ASSERT_TRUE (choose (editor->navbar.getLogoMenu(), "User guide"));
    pumpMessages();
    ASSERT_EQ (openAlerts().size(), 1) << "a folder is no guide";
    EXPECT_EQ (openAlerts()[0]->getName(), "WARNING");

    editor->navbar.savePresetTo ({});
    editor->navbar.savePresetTo (userFolder.getChildFile ("Warm.qexp"));
    pumpMessages();
    EXPECT_EQ (openAlerts().size(), 1);
    EXPECT_TRUE (userFolder.getChildFile ("Warm.qexp").existsAsFile());

    editor->navbar.savePresetTo (userFolder.getChildFile ("no folder/Cold.qexp"));
    pumpMessages();
    EXPECT_EQ (openAlerts().size(), 2);
}

TEST_F (TopBar, theSettingsAndRefreshButtonsActOnTheEditor)
{
    auto editor = openEditor();
    auto& close = button (editor->settingsDialog, "closeButton");
    close.setBounds ({});

    click (button (editor->navbar, "settingsButton"));
    EXPECT_TRUE (editor->settingsDialog.isVisible());
    EXPECT_EQ (close.getBounds(), juce::Rectangle<int> (489, 23, 21, 19)) << "laid out afresh";
    click (close);
    EXPECT_FALSE (editor->settingsDialog.isVisible());

    juce::File (processor.userPresetFolder).getChildFile ("New.qexp").create();
    click (button (editor->navbar, "refreshButton"));
    EXPECT_EQ (editor->presetBrowser.getPresetFiles().size(), 1);
}
