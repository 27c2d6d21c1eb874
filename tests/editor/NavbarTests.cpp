#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
using LF = LookAndFeelCustom;

struct TopBar : EditorTest
{
    juce::DrawableButton& button (juce::Component& root, const juce::String& name)
    {
        auto* found = findNamed<juce::DrawableButton> (root, name);
        EXPECT_NE (found, nullptr) << name;
        return *found;
    }

    void click (juce::Component& root, const juce::String& name)
    {
        button (root, name).triggerClick();
        pumpMessages();
    }

    /** The colour of the bypass icon, its most opaque pixel. */
    juce::Colour bypassIconColour (juce::Component& root, const juce::String& imageName)
    {
        return render::strongestPixel (panel::snapshot (imageName, button (root, "BypassButton")));
    }
};
} // namespace

TEST_F (TopBar, theButtonsKeepTheirBaseGeometryAtAnyScale)
{
    storeScale (2.0);
    auto editor = openEditor();
    auto& bar = editor->navbar;

    EXPECT_EQ (button (bar, "logoButton").getBounds(), juce::Rectangle<int> (15, 11, 213, 29));
    EXPECT_EQ (button (bar, "BypassButton").getBounds(), juce::Rectangle<int> (671, 12, 25, 25));
    EXPECT_EQ (button (bar, "settingsButton").getBounds(), juce::Rectangle<int> (642, 12, 25, 25));
    EXPECT_EQ (button (bar, "saveButton").getBounds(), juce::Rectangle<int> (556, 12, 25, 25));
    EXPECT_EQ (button (bar, "refreshButton").getBounds(), juce::Rectangle<int> (583, 12, 36, 25));

    const auto image = panel::snapshot ("navbar", bar);
    EXPECT_TRUE (sameColour (image.getPixelAt (629, 20), juce::Colour (0xff5c5f64))) << "separator";
    EXPECT_TRUE (sameColour (image.getPixelAt (629, 5), LF::darkGrayColour));
    EXPECT_TRUE (sameColour (image.getPixelAt (630, 20), LF::darkGrayColour));
    EXPECT_EQ (describe (bar.getLogoMenu()), "User guide Reset GUI scaling Visit vellomar.com");
}

TEST_F (TopBar, theBypassIconFollowsTheParameterAndAClickFlipsIt)
{
    auto editor = openEditor();
    auto& bar = editor->navbar;

    EXPECT_TRUE (sameColour (bypassIconColour (bar, "bypass-active"), LF::offWhiteBrightColour));

    setParameter ("paramBypassGlobal", 1.0f);
    EXPECT_TRUE (sameColour (bypassIconColour (bar, "bypass-bypassed"), LF::midGrayColour));

    click (bar, "BypassButton");
    EXPECT_EQ (normalised ("paramBypassGlobal"), 0.0f);
    click (bar, "BypassButton");
    EXPECT_EQ (normalised ("paramBypassGlobal"), 1.0f);
}

TEST_F (TopBar, resetGuiScalingReturnsToTheBaseSizeInPlaceAndSavesScaleOne)
{
    storeScale (2.0);
    auto editor = openResizableEditor();
    editor->setTopLeftPosition (40, 30);
    ASSERT_EQ (editor->getWidth(), 1414);

    ASSERT_TRUE (chooseMenuItem (editor->navbar.getLogoMenu(), "Reset GUI scaling"));
    EXPECT_EQ (editor->getBounds(), juce::Rectangle<int> (40, 30, 707, 336));
    EXPECT_EQ (editor->currentScale, 1.0f);

    pumpMessages (SaveScaleTimer::delayMilliseconds + 200);
    EXPECT_EQ (savedScale().toString(), "1.0");
}

TEST_F (TopBar, theUserGuideItemWarnsWhenThereIsNoGuide)
{
    auto editor = openEditor();

    // A folder of the guide's name is no guide either.
    juce::File (processor.dataFolder).getChildFile (Navbar::userGuideFileName).createDirectory();

    ASSERT_TRUE (chooseMenuItem (editor->navbar.getLogoMenu(), "User guide"));
    pumpMessages();
    EXPECT_EQ (openAlerts ("WARNING").size(), 1);
    closeAlerts();
}

TEST_F (TopBar, theSettingsButtonShowsTheOverlayLaidOutAfreshAndHidesIt)
{
    auto editor = openEditor();
    auto& dialog = editor->settingsDialog;

    auto* close = findNamed<juce::DrawableButton> (dialog, "closeButton");
    ASSERT_NE (close, nullptr);
    close->setBounds ({});

    click (editor->navbar, "settingsButton");
    EXPECT_TRUE (dialog.isVisible());
    EXPECT_EQ (close->getBounds(), juce::Rectangle<int> (489, 23, 21, 19));

    click (editor->navbar, "settingsButton");
    EXPECT_FALSE (dialog.isVisible());
}

TEST_F (TopBar, theRefreshButtonRescansThePresetFolders)
{
    auto editor = openEditor();
    ASSERT_TRUE (editor->presetBrowser.getPresetFiles().isEmpty());

    juce::File (processor.userPresetFolder).getChildFile ("New.qexp").replaceWithText ("<PARAMETERS/>");
    click (editor->navbar, "refreshButton");
    EXPECT_EQ (editor->presetBrowser.getPresetFiles().size(), 1);
}

TEST_F (TopBar, aSaveThatIsCancelledDoesNothingAndOneThatFailsIsReported)
{
    auto editor = openEditor();
    const juce::File userFolder (processor.userPresetFolder);

    editor->navbar.savePresetTo ({});
    pumpMessages();
    EXPECT_TRUE (openAlerts ("WARNING").isEmpty());
    EXPECT_EQ (userFolder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);

    editor->navbar.savePresetTo (userFolder.getChildFile ("Warm.qexp"));
    pumpMessages();
    EXPECT_TRUE (openAlerts ("WARNING").isEmpty());
    EXPECT_TRUE (userFolder.getChildFile ("Warm.qexp").existsAsFile());

    editor->navbar.savePresetTo (userFolder.getChildFile ("missing folder").getChildFile ("Cold.qexp"));
    pumpMessages();
    EXPECT_EQ (openAlerts ("WARNING").size(), 1);
    closeAlerts();
}
