#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
using LF = LookAndFeelCustom;

struct PresetBrowserTest : EditorTest
{
    juce::File userFolder { processor.userPresetFolder };
    juce::File factoryFolder { processor.factoryPresetFolder };

    static juce::File writePreset (const juce::File& file, const juce::String& presetName)
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<PARAMETERS pluginName=\"QEX Tidewell\" presetName=\"" +
                              presetName + "\"><PARAM id=\"paramSixtyRate\" value=\"1.0\"/></PARAMETERS>");
        return file;
    }

    void writeUsualPresets()
    {
        writePreset (userFolder.getChildFile ("a.qexp"), "a");
        writePreset (userFolder.getChildFile ("B.qexp"), "B");
        writePreset (userFolder.getChildFile (".hidden.qexp"), "hidden");
        writePreset (userFolder.getChildFile ("Sub/x.qexp"), "x");
        userFolder.getChildFile ("Empty").createDirectory();
        writePreset (userFolder.getChildFile ("UP.QEXP"), "not listed");
        userFolder.getChildFile ("notes.txt").replaceWithText ("not listed");
        writePreset (factoryFolder.getChildFile ("f1.qexp"), "Factory One");
    }

    juce::String currentPath()
    {
        return processor.parameters.state.getProperty (QexTidewellAudioProcessor::presetDataPath).toString();
    }

    static juce::TextButton& nameButton (PresetBrowser& browser) { return *findChild<juce::TextButton> (browser); }

    static void click (PresetBrowser& browser, const juce::String& arrow)
    {
        findNamed<juce::Button> (browser, arrow)->triggerClick();
        pumpMessages();
    }
};
} // namespace

TEST_F (PresetBrowserTest, theMenuListsUserThenFactoryPresetsWithFoldersFirstAndTheTwoCommands)
{
    writeUsualPresets();
    PresetBrowser browser (processor);

    EXPECT_EQ (describe (browser.getPresetMenu()),
               "User presets[Empty[] Sub[x] .hidden a B] f1 | Load preset Open preset directory");

    juce::StringArray order;
    for (const auto& file : browser.getPresetFiles())
        order.add (file.getFileName());
    EXPECT_EQ (order.joinIntoString (" "), "x.qexp .hidden.qexp a.qexp B.qexp f1.qexp")
        << "the arrows step in menu order";

    EXPECT_EQ (nameButton (browser).getButtonText(), "Init");
    EXPECT_EQ (browser.getCurrentIndex(), 1) << "the initial preset is in no list";
}

TEST_F (PresetBrowserTest, theCurrentPresetIsTickedAndTheArrowsStepFromItWrappingAtBothEnds)
{
    writeUsualPresets();
    PresetBrowser browser (processor);

    ASSERT_TRUE (chooseMenuItem (browser.getPresetMenu(), "B"));
    pumpMessages();
    EXPECT_EQ (nameButton (browser).getButtonText(), "B");
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains (" a B*]"));
    EXPECT_EQ (browser.getCurrentIndex(), 4);

    click (browser, "nextButton");
    EXPECT_EQ (currentPath(), factoryFolder.getChildFile ("f1.qexp").getFullPathName());
    EXPECT_EQ (nameButton (browser).getButtonText(), "Factory One");

    click (browser, "nextButton");
    EXPECT_EQ (currentPath(), userFolder.getChildFile ("Sub/x.qexp").getFullPathName()) << "after the last, the first";

    click (browser, "prevButton");
    EXPECT_EQ (currentPath(), factoryFolder.getChildFile ("f1.qexp").getFullPathName()) << "before the first, the last";

    click (browser, "prevButton");
    EXPECT_EQ (currentPath(), userFolder.getChildFile ("B.qexp").getFullPathName());
}

TEST_F (PresetBrowserTest, withoutPresetsTheArrowsLoadNothingAndTheMenuKeepsItsCommands)
{
    PresetBrowser browser (processor);
    const auto before = currentPath();

    click (browser, "nextButton");
    click (browser, "prevButton");
    EXPECT_EQ (currentPath(), before);
    EXPECT_EQ (nameButton (browser).getButtonText(), "Init");
    EXPECT_EQ (describe (browser.getPresetMenu()), "User presets[] | Load preset Open preset directory");
}

TEST_F (PresetBrowserTest, aHostStateRestoreShowsTheRestoredNameAndTicksItsPreset)
{
    writeUsualPresets();
    PresetBrowser browser (processor);

    auto& state = processor.parameters.state;
    state.setProperty (QexTidewellAudioProcessor::presetDataName, "Sub x", nullptr);
    state.setProperty (QexTidewellAudioProcessor::presetDataPath,
                       userFolder.getChildFile ("Sub/x.qexp").getFullPathName(), nullptr);
    juce::MemoryBlock saved;
    processor.getStateInformation (saved);
    state.setProperty (QexTidewellAudioProcessor::presetDataName, "Other", nullptr);

    processor.sendActionMessage ("SettingsLoaded");
    pumpMessages();
    EXPECT_EQ (nameButton (browser).getButtonText(), "Init") << "other messages change nothing";

    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    pumpMessages();
    EXPECT_EQ (nameButton (browser).getButtonText(), "Sub x");
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains ("Sub[x*]"));
    EXPECT_EQ (browser.getCurrentIndex(), 1);
}

TEST_F (PresetBrowserTest, pressingTheNameOpensOneMenuJoinedToTheBar)
{
    auto editor = openEditor();
    auto& browser = editor->presetBrowser;
    const juce::Rectangle<int> bounds (0, 0, 306, 30);

    const auto closed = panel::snapshot ("preset-browser", browser);
    EXPECT_EQ (closed.getPixelAt (1, 28).getAlpha(), 0) << "a rounded lower corner";
    EXPECT_TRUE (sameColour (closed.getPixelAt (150, 29), LF::bgColour));

    const ScopedMousePress press (juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier));
    browser.mouseDown (press.on (browser));
    EXPECT_FALSE (browser.isMenuOpen()) << "only a press on the name opens the menu";

    browser.mouseDown (press.on (nameButton (browser)));
    pumpMessages();
    ASSERT_TRUE (browser.isMenuOpen());
    const auto windows = juce::Desktop::getInstance().getNumComponents();

    browser.mouseDown (press.on (nameButton (browser)));
    pumpMessages();
    EXPECT_EQ (juce::Desktop::getInstance().getNumComponents(), windows) << "no second menu";

    const auto open = panel::snapshot ("preset-browser-menu-open", browser);
    EXPECT_TRUE (sameColour (open.getPixelAt (1, 27), LF::bgColour)) << "a square lower corner";
    EXPECT_NEAR (open.getPixelAt (150, 29).getBrightness(), LF::bgColour.getBrightness() + 0.3f * 0.9f, 0.06f)
        << "a faint light line along the bottom";

    juce::PopupMenu::dismissAllActiveMenus();
    pumpMessages();
    EXPECT_FALSE (browser.isMenuOpen());
}

TEST_F (PresetBrowserTest, aLinkBackIntoTheListedFoldersEndsTheScanAndABrokenPresetIsReported)
{
    writePreset (userFolder.getChildFile ("Sub/x.qexp"), "x");
    ASSERT_TRUE (userFolder.createSymbolicLink (userFolder.getChildFile ("Sub/Loop"), true));
    userFolder.getChildFile ("broken.qexp").replaceWithText ("not a preset");

    PresetBrowser browser (processor);
    EXPECT_EQ (describe (browser.getPresetMenu()),
               "User presets[Sub[Loop[] x] broken] | Load preset Open preset directory");

    ASSERT_TRUE (chooseMenuItem (browser.getPresetMenu(), "broken"));
    pumpMessages();
    EXPECT_EQ (openAlerts ("WARNING").size(), 1);
    EXPECT_EQ (nameButton (browser).getButtonText(), "Init");
    closeAlerts();
}
