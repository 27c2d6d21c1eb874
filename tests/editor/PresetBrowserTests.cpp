#include "EditorTestSupport.h"

#include <cstdio>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

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
            writePreset (user.getSiblingFile (path));
        user.getChildFile ("Empty").createDirectory();
        user.getChildFile ("notes.txt").create();
    }

    static void writePreset (const juce::File& file)
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithText ("<PARAMETERS pluginName=\"QEX Tidewell\" presetName=\""
                              + file.getFileNameWithoutExtension() + "\"/>");
    }

    juce::String currentPath()
    {
        return processor.parameters.state[QexTidewellAudioProcessor::presetDataPath].toString();
    }

    static juce::String shownName (PresetBrowser& b) { return findChild<juce::TextButton> (b)->getButtonText(); }

    static juce::String presetFileNames (PresetBrowser& b)
    {
        juce::StringArray names;
        for (const auto& file : b.getPresetFiles())
            names.add (file.getFileNameWithoutExtension());
        return names.joinIntoString (" ");
    }

    /** The menu's preset items in the order it numbers them, which the arrows' list must follow. */
    static juce::String presetItems (PresetBrowser& b)
    {
        juce::StringArray texts;
        for (juce::PopupMenu::MenuItemIterator it (b.getPresetMenu(), true); it.next();)
            if (const auto& item = it.getItem(); item.subMenu == nullptr && item.action != nullptr)
                texts.add (item.text);
        texts.removeRange (texts.size() - 2, 2); // "Load preset" and "Open preset directory"
        return texts.joinIntoString (" ");
    }

    static const juce::PopupMenu::Item* findItem (const juce::PopupMenu& menu, const juce::String& text)
    {
        for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
            if (it.getItem().text == text)
                return &it.getItem();
        return nullptr;
    }

    /** names with each of first to last appended: "p0 p1 p2". */
    static juce::String numbered (const juce::String& name, int first, int last)
    {
        juce::StringArray names;
        for (int i = first; i <= last; ++i)
            names.add (name + juce::String (i));
        return names.joinIntoString (" ");
    }
};
} // namespace

TEST_F (PresetBrowserTest, theMenuListsUserThenFactoryPresetsFoldersFirstAndReportsOneThatDoesNotLoad)
{
    ASSERT_TRUE (user.createSymbolicLink (user.getChildFile ("Sub/Loop"), true));
    user.getChildFile ("broken.qexp").replaceWithText ("not a preset");
    PresetBrowser browser (processor);

    EXPECT_EQ (describe (browser.getPresetMenu()),
               "User presets[Empty[] Sub[Loop[] x] .hidden a B broken] f1 | Load preset Open preset directory");
    EXPECT_EQ (presetFileNames (browser), "x .hidden a B broken f1");

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

    // Each level is listed at its own path; every link to it shows it empty.
    juce::StringArray fanMenu;
    for (int i = 0; i + 1 < levels; ++i)
        fanMenu.add ("L" + juce::String (i) + "[a[] b[] c[] d[]]");
    fanMenu.add ("L" + juce::String (levels - 1) + "[end]");
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains ("Fan[" + fanMenu.joinIntoString (" ") + "]"));
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains ("Factory[]")) << "the factory keeps its own place";

    EXPECT_EQ (presetFileNames (browser), "end x .hidden a B f1");
}

TEST_F (PresetBrowserTest, aLargeCollectionIsListedWholeInNaturalOrderWithEveryFactoryPresetAfterIt)
{
    // Together more than a scan once looked at, the user's far more than the factory's.
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE (user.getChildFile ("Big/p" + juce::String (i) + ".qexp").create());
    for (int i = 0; i < 1200; ++i)
        ASSERT_TRUE (factory.getChildFile ("g" + juce::String (i) + ".qexp").create());

    PresetBrowser browser (processor);

    const auto expected = numbered ("p", 0, 2999) + " x .hidden a B f1 " + numbered ("g", 0, 1199);
    EXPECT_EQ (presetFileNames (browser), expected);
    EXPECT_EQ (presetItems (browser), expected);
    EXPECT_EQ (browser.getPresetFiles().getLast(), factory.getChildFile ("g1199.qexp"));
    EXPECT_FALSE (describe (browser.getPresetMenu()).contains ("not listed"));
}

TEST_F (PresetBrowserTest, aPresetManyFoldersDeepIsListedInItsPlace)
{
    constexpr int folders = 200;
    auto bottom = user.getChildFile ("Deep");
    for (int i = 1; i < folders; ++i)
        bottom = bottom.getChildFile ("d");
    ASSERT_TRUE (bottom.createDirectory());
    ASSERT_TRUE (bottom.getChildFile ("bottom.qexp").create());

    PresetBrowser browser (processor);
    EXPECT_EQ (presetFileNames (browser), "bottom x .hidden a B f1");

    // User presets > Deep > d > ... > d > bottom: a sub-menu for every folder.
    const auto subMenu = [] (const juce::PopupMenu* menu, const char* name) -> const juce::PopupMenu*
    {
        if (menu != nullptr)
            for (juce::PopupMenu::MenuItemIterator it (*menu); it.next();)
                if (it.getItem().text == name)
                    return it.getItem().subMenu.get();
        return nullptr;
    };
    const auto* level = subMenu (subMenu (&browser.getPresetMenu(), "User presets"), "Deep");
    int levels = 1;
    for (; level != nullptr && subMenu (level, "d") != nullptr; ++levels)
        level = subMenu (level, "d");
    EXPECT_EQ (levels, folders);
    ASSERT_NE (level, nullptr);
    EXPECT_EQ (describe (*level), "bottom");
}

TEST_F (PresetBrowserTest, pastItsBoundTheMenuListsTheStartOfEachFolderSaysWhatIsLeftOutAndKeepsTheCurrentPreset)
{
    const auto many = user.getChildFile ("Many");
    for (int i = 0; i < 1250; ++i)
        writePreset (many.getChildFile ("m" + juce::String (i) + ".qexp"));
    writePreset (factory.getChildFile ("f2.qexp"));

    // The bound falls within Many, after the folders Empty and Many and twenty presets; the
    // factory presets are listed regardless.
    PresetBrowser browser (processor, 22);
    const auto listed = "Many[" + numbered ("m", 0, 19);
    const juce::String inMany = " 1,230 more presets not listed]";
    EXPECT_EQ (describe (browser.getPresetMenu()), "User presets[Empty[] " + listed + inMany
                                                       + " 3 more presets and 1 folder not listed] f1 f2"
                                                         " | Load preset Open preset directory");
    EXPECT_EQ (presetFileNames (browser), numbered ("m", 0, 19) + " f1 f2");
    EXPECT_EQ (presetItems (browser), presetFileNames (browser));
    const auto* note = findItem (browser.getPresetMenu(), "1,230 more presets not listed");
    ASSERT_NE (note, nullptr);
    EXPECT_FALSE (note->isEnabled);

    // A preset loaded or saved where the bound would leave it out is listed in its place and
    // ticked, with the folders that lead to it, and the arrows step from it.
    ASSERT_TRUE (processor.loadPreset (user.getChildFile ("Sub/x.qexp").getFullPathName()));
    pumpMessages();
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains (inMany + " Sub[x*] 3 more presets not listed]"));
    EXPECT_EQ (presetItems (browser), numbered ("m", 0, 19) + " x f1 f2");
    EXPECT_EQ (presetFileNames (browser), presetItems (browser));

    ASSERT_TRUE (processor.savePreset (many.getChildFile ("zz.qexp").getFullPathName()));
    pumpMessages();
    EXPECT_EQ (shownName (browser), "zz");
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains (listed + " zz*" + inMany));
    EXPECT_EQ (presetFileNames (browser), numbered ("m", 0, 19) + " zz f1 f2");
    EXPECT_EQ (presetItems (browser), presetFileNames (browser));

    click (button (browser, "nextButton"));
    EXPECT_EQ (currentPath(), factory.getChildFile ("f1.qexp").getFullPathName());
    ASSERT_TRUE (processor.loadPreset (many.getChildFile ("zz.qexp").getFullPathName()));
    pumpMessages();
    click (button (browser, "prevButton"));
    EXPECT_EQ (currentPath(), many.getChildFile ("m19.qexp").getFullPathName());
}

TEST_F (PresetBrowserTest, aLinkedFolderIsListedAtItsOwnPathAndAPresetReachedThroughALinkIsCurrentThere)
{
    for (const auto* name : { "w1", "w2", "w3" })
        writePreset (user.getChildFile ("Warm").getChildFile (juce::String (name) + ".qexp"));
    ASSERT_TRUE (user.getChildFile ("Warm").createSymbolicLink (user.getChildFile ("Best"), true));
    const auto outside = home.root().getChildFile ("Outside");
    writePreset (outside.getChildFile ("o1.qexp"));
    ASSERT_TRUE (outside.createSymbolicLink (user.getChildFile ("Away"), true));
    const auto elsewhere = user.getSiblingFile ("alias-a.qexp");
    ASSERT_TRUE (user.getChildFile ("a.qexp").createSymbolicLink (elsewhere, true));
    PresetBrowser browser (processor);

    // A project saved with a path through the link, which sorts before the real folder: the
    // presets are listed in the real folder, and the link to it is the empty one. A folder
    // outside the preset folders is listed where its link is.
    processor.parameters.state.setProperty (QexTidewellAudioProcessor::presetDataPath,
                                            user.getChildFile ("Best/w2.qexp").getFullPathName(), nullptr);
    juce::MemoryBlock saved;
    processor.getStateInformation (saved);
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    pumpMessages();
    EXPECT_EQ (describe (browser.getPresetMenu()),
               "User presets[Away[o1] Best[] Empty[] Sub[x] Warm[w1 w2* w3] .hidden a B] f1"
               " | Load preset Open preset directory");
    click (button (browser, "nextButton"));
    EXPECT_EQ (currentPath(), user.getChildFile ("Warm/w3.qexp").getFullPathName());

    // Loaded from a link that no folder of the menu holds.
    ASSERT_TRUE (processor.loadPreset (elsewhere.getFullPathName()));
    pumpMessages();
    EXPECT_TRUE (describe (browser.getPresetMenu()).contains (" .hidden a* B]"));
    click (button (browser, "nextButton"));
    EXPECT_EQ (currentPath(), user.getChildFile ("B.qexp").getFullPathName());
}

TEST_F (PresetBrowserTest, aNameThatIsNotUtf8IsShownWholeAndItsPresetLoads)
{
    // Names as a Latin-1 system writes them, one of them in bytes that look like over-long forms.
    // The framework names none of these paths, so they are made and removed here.
    const auto userPath = user.getFullPathName().toStdString();
    const auto folder = userPath + "/Dossier \xe9t\xe9";
    const std::string presets[] { userPath + "/caf\xe9.qexp", userPath + "/\xc1\xa9 Dance.qexp",
                                  folder + "/inner.qexp" };
    const juce::ScopeGuard removeThem { [&]
                                        {
                                            for (const auto& path : presets)
                                                ::unlink (path.c_str());
                                            ::rmdir (folder.c_str());
                                        } };
    ASSERT_EQ (::mkdir (folder.c_str(), 0700), 0);
    for (const auto& path : presets)
    {
        const std::string text = "<PARAMETERS pluginName=\"QEX Tidewell\" presetName=\"Latin\"/>";
        auto* const file = std::fopen (path.c_str(), "wb");
        ASSERT_NE (file, nullptr);
        std::fwrite (text.data(), 1, text.size(), file);
        std::fclose (file);
    }

    PresetBrowser browser (processor);
    // Where a letter outside ASCII sorts is the natural order's, which follows the host's locale.
    const auto menu = describe (browser.getPresetMenu());
    for (const auto* shown :
         { "User presets[Dossier \xc3\xa9t\xc3\xa9[inner] Empty[] Sub[x] ", " caf\xc3\xa9", " \xc3\x81\xc2\xa9 Dance" })
        EXPECT_TRUE (menu.contains (juce::CharPointer_UTF8 (shown))) << menu;

    for (const auto* shown : { "caf\xc3\xa9", "inner" })
    {
        ASSERT_TRUE (choose (browser.getPresetMenu(), juce::CharPointer_UTF8 (shown)));
        pumpMessages();
        EXPECT_EQ (shownName (browser), "Latin");
        EXPECT_TRUE (describe (browser.getPresetMenu()).contains (juce::String (juce::CharPointer_UTF8 (shown)) + "*"));
    }
    EXPECT_EQ (currentPath().toStdString(), presets[2]);
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
