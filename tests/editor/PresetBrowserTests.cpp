#include "EditorTestSupport.h"

using namespace editortest;

namespace
{
struct PresetBrowserTest : EditorTest
{
    juce::File user { processor.userPresetFolder };
    juce::File factory { processor.factoryPresetFolder };

    PresetBrowserTest()
    {
        for (const auto* path : { "User/a.qexp", "User/B.qexp", "User/.hidden.qexp", "User/Sub/x.qexp", "User/UP.QEXP",
                                  "Factory/f1.qexp" })
        {
            const auto file = user.getSiblingFile (path);
            file.getParentDirectory().createDirectory();
            file.replaceWithText ("<PARAMETERS pluginName=\"QEX Tidewell\" presetName=\""
                                  + file.getFileNameWithoutExtension() + "\"/>");
        }
        user.getChildFile ("Empty").createDirectory();
        user.getChildFile ("notes.txt").create();
    }

    juce::String currentPath()
    {
        return processor.parameters.state[QexTidewellAudioProcessor::presetDataPath].toString();
    }

    static juce::String shownName (PresetBrowser& b) { return findChild<juce::TextButton> (b)->getButtonText(); }
};
} // namespace

TEST_F (PresetBrowserTest, theMenuListsUserThenFactoryPresetsFoldersFirstAndReportsOneThatDoesNotLoad)
{
    ASSERT_TRUE (user.createSymbolicLink (user.getChildFile ("Sub/Loop"), true));
    user.getChildFile ("broken.qexp").replaceWithText ("not a preset");
    PresetBrowser browser (processor);

    EXPECT_EQ (describe (browser.getPresetMenu()),
               "User presets[Empty[] Sub[Loop[] x] .hidden a B broken] f1 | Load preset Open preset directory");
    juce::StringArray order;
    for (const auto& file : browser.getPresetFiles())
        order.add (file.getFileNameWithoutExtension());
    EXPECT_EQ (order.joinIntoString (" "), "x .hidden a B broken f1");

    ASSERT_TRUE (choose (browser.getPresetMenu(), "broken"));
    pumpMessages();
    EXPECT_EQ (openAlerts().size(), 1);
    EXPECT_EQ (shownName (browser), "Init");
}

TEST_F (PresetBrowserTest, theArrowsStepFromTheTickedPresetAndWrapAtBothEnds)
{
    PresetBrowser browser (processor);
    const auto arrow = [&browser] (const char* name) { click (button (browser, name)); };

    ASSERT_TRUE (choose (browser.getPresetMenu(), "B"));
    pumpMessages();
    EXPECT_EQ (shownName (browser), "B");
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains (" a B*]"));

    arrow ("nextButton");
    EXPECT_EQ (shownName (browser), "f1");
    arrow ("nextButton");
    EXPECT_EQ (currentPath(), user.getChildFile ("Sub/x.qexp").getFullPathName());
    arrow ("prevButton");
    EXPECT_EQ (currentPath(), factory.getChildFile ("f1.qexp").getFullPathName());
    arrow ("prevButton");
    EXPECT_EQ (currentPath(), user.getChildFile ("B.qexp").getFullPathName());
}

TEST_F (PresetBrowserTest, aHostStateRestoreShowsTheRestoredNameAndTicksItsPreset)
{
    PresetBrowser browser (processor);
    auto& state = processor.parameters.state;
    state.setProperty (QexTidewellAudioProcessor::presetDataName, "Sub x", nullptr);
    state.setProperty (QexTidewellAudioProcessor::presetDataPath, user.getChildFile ("Sub/x.qexp").getFullPathName(),
                       nullptr);
    juce::MemoryBlock saved;
    processor.getStateInformation (saved);
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    pumpMessages();

    EXPECT_EQ (shownName (browser), "Sub x");
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains ("Sub[x*]"));
}

TEST_F (PresetBrowserTest, withoutPresetsTheArrowsLoadNothingAndPressingTheNameOpensOneMenuJoinedToTheBar)
{
    user.getParentDirectory().deleteRecursively();
    auto editor = openEditor();
    auto& browser = editor->presetBrowser;
    auto& name = *findChild<juce::TextButton> (browser);

    const auto before = currentPath();
    click (button (browser, "nextButton"));
    click (button (browser, "prevButton"));
    EXPECT_EQ (currentPath(), before);
    EXPECT_EQ (describe (browser.getPresetMenu()), "User presets[] | Load preset Open preset directory");

    EXPECT_EQ (panel::snapshot ("preset-browser", browser).getPixelAt (1, 28).getAlpha(), 0) << "round corner";
    browser.mouseDown (pressOn (browser, juce::ModifierKeys::leftButtonModifier));
    EXPECT_FALSE (browser.isMenuOpen()) << "only the name opens the menu";
    holdTheDisplaysFocus();
    browser.mouseDown (pressOn (name, juce::ModifierKeys::leftButtonModifier));
    pumpMessages();
    ASSERT_TRUE (browser.isMenuOpen());
    const auto windows = juce::Desktop::getInstance().getNumComponents();
    browser.mouseDown (pressOn (name, juce::ModifierKeys::leftButtonModifier));
    pumpMessages();
    EXPECT_EQ (juce::Desktop::getInstance().getNumComponents(), windows) << "no second menu";

    // The menu hangs from the left arrow, which its half turn leaves where its bounds put it.
    const auto* menu = juce::Desktop::getInstance().getComponent (windows - 1);
    const auto pill = browser.getScreenBounds();
    EXPECT_EQ (button (browser, "prevButton").getScreenBounds(),
               juce::Rectangle<int> (-2, 1, 22, 30) + pill.getTopLeft());
    EXPECT_EQ (menu->getScreenPosition(), pill.getTopLeft() + juce::Point<int> (-2, 31));

    const auto open = panel::snapshot ("preset-browser-menu-open", browser);
    EXPECT_TRUE (render::colourAt (open, 1, 27, LF::bgColour)) << "square corner";
    EXPECT_GT (open.getPixelAt (150, 29).getBrightness(), LF::bgColour.getBrightness() + 0.2f) << "bottom line";
    juce::PopupMenu::dismissAllActiveMenus();
    pumpMessages();
    EXPECT_FALSE (browser.isMenuOpen());
}
