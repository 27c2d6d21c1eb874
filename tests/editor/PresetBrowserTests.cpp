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

TEST_F (PresetBrowserTest, eachFolderIsListedOnceHoweverManyLinksFanOutToIt)
{
    // Levels L0 to L13, each with four links to the next: walking every path would list the
    // last level 4^13 times.
    constexpr int levels = 14;
    const auto fan = user.getChildFile ("Fan");
    const auto level = [&fan] (int i) { return fan.getChildFile ("L" + juce::String (i)); };
    // Clearing the data folder would follow the links down every path; they go first.
    const juce::ScopeGuard removeLinks { [&fan] { fan.deleteRecursively(); } };

    for (int i = 0; i < levels; ++i)
        ASSERT_TRUE (level (i).createDirectory());
    for (int i = 0; i + 1 < levels; ++i)
        for (const auto* link : { "a", "b", "c", "d" })
            ASSERT_TRUE (level (i + 1).createSymbolicLink (level (i).getChildFile (link), true));
    level (levels - 1).getChildFile ("end.qexp").create();
    ASSERT_TRUE (factory.createSymbolicLink (user.getChildFile ("Factory"), true));

    PresetBrowser browser (processor);

    // The first path reaches each level; every other path, and the level itself, show it empty.
    juce::String chain = "end";
    for (int i = levels - 2; i >= 0; --i)
        chain = "a[" + chain + "] b[] c[] d[]";
    juce::StringArray fanMenu { "L0[" + chain + "]" };
    for (int i = 1; i < levels; ++i)
        fanMenu.add ("L" + juce::String (i) + "[]");
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains ("Fan[" + fanMenu.joinIntoString (" ") + "]"));
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains ("Factory[]")) << "the factory keeps its own place";

    juce::StringArray order;
    for (const auto& file : browser.getPresetFiles())
        order.add (file.getFileNameWithoutExtension());
    EXPECT_EQ (order.joinIntoString (" "), "end x .hidden a B f1");
}

TEST_F (PresetBrowserTest, aScanStopsAtItsDepthAndEntryBounds)
{
    auto deep = user.getChildFile ("Deep");
    for (int depth = 1; depth <= PresetBrowser::maxFolderDepth + 1; ++depth, deep = deep.getChildFile ("d"))
        ASSERT_TRUE (deep.getChildFile ("at" + juce::String (depth) + ".qexp").create());

    const auto listed = [] (PresetBrowser& b, const juce::String& name)
    {
        for (const auto& file : b.getPresetFiles())
            if (file.getFileName() == name)
                return true;
        return false;
    };
    {
        PresetBrowser browser (processor);
        EXPECT_TRUE (listed (browser, "at" + juce::String (PresetBrowser::maxFolderDepth) + ".qexp"));
        EXPECT_FALSE (listed (browser, "at" + juce::String (PresetBrowser::maxFolderDepth + 1) + ".qexp"));
        EXPECT_TRUE (listed (browser, "f1.qexp"));
    }

    // More entries than a scan looks at: the rest, the factory presets among them, is left out.
    const auto many = user.getChildFile ("Many");
    for (int i = 0; i < PresetBrowser::maxScanEntries; ++i)
        ASSERT_TRUE (many.getChildFile (juce::String (i) + ".qexp").create());
    PresetBrowser browser (processor);
    EXPECT_LT (browser.getPresetFiles().size(), PresetBrowser::maxScanEntries);
    EXPECT_FALSE (listed (browser, "f1.qexp"));
}

TEST_F (PresetBrowserTest, openPresetDirectoryGoesToTheDesktopsOpenerAsItIs)
{
    const ScopedShellCharactersDataHome hostileHome (home);
    QexTidewellAudioProcessor inHostileFolder;
    PresetBrowser browser (inHostileFolder);
    OpenerStub opener;

    ASSERT_TRUE (choose (browser.getPresetMenu(), "Open preset directory"));
    EXPECT_EQ (opener.nextCall(), juce::StringArray (inHostileFolder.presetFolder));
    EXPECT_TRUE (inHostileFolder.presetFolder.contains ("$(touch x)"));
}
