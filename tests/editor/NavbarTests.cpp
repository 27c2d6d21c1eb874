#include "EditorTestSupport.h"

#include <csignal>
#include <filesystem>
#include <tuple>

#include <fcntl.h>
#include <unistd.h>

using namespace editortest;

using TopBar = EditorTest;

namespace
{
/** For the object's lifetime, a host's state that a started program must not inherit: SIGPIPE
    and SIGQUIT ignored, SIGUSR1 blocked on this thread, and files open without close-on-exec. */
struct HostProcessState
{
    HostProcessState()
    {
        struct sigaction ignore
        {
        };
        ignore.sa_handler = SIG_IGN;
        sigaction (SIGPIPE, &ignore, &previousPipe);
        sigaction (SIGQUIT, &ignore, &previousQuit);

        sigset_t usr1;
        sigemptyset (&usr1);
        sigaddset (&usr1, SIGUSR1);
        pthread_sigmask (SIG_BLOCK, &usr1, &previousMask);

        file = open ("/dev/null", O_RDONLY);
        EXPECT_EQ (pipe (pipeEnds), 0);
    }

    ~HostProcessState()
    {
        for (const auto descriptor : { file, pipeEnds[0], pipeEnds[1] })
            close (descriptor);
        pthread_sigmask (SIG_SETMASK, &previousMask, nullptr);
        sigaction (SIGQUIT, &previousQuit, nullptr);
        sigaction (SIGPIPE, &previousPipe, nullptr);
    }

    struct sigaction previousPipe
    {
    }, previousQuit {};
    sigset_t previousMask {};
    int file = -1;
    int pipeEnds[2] = { -1, -1 };
};

/** A line "name:\tvalue" of a /proc status text. */
juce::String statusField (const juce::String& status, const char* name)
{
    return status.fromFirstOccurrenceOf ("\n" + juce::String (name) + ":", false, false)
        .upToFirstOccurrenceOf ("\n", false, false)
        .trim();
}
} // namespace

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
    juce::File (processor.dataFolder).getChildFile (ProductInfo::userGuideFileName).createDirectory();

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

    // A folder named like the preset is no preset to replace: the save is refused at once.
    const auto folder = userFolder.getChildFile ("x.qexp");
    ASSERT_TRUE (folder.createDirectory());
    editor->navbar.savePresetTo (userFolder.getChildFile ("x"));
    pumpMessages();
    ASSERT_EQ (openAlerts().size(), 3);
    EXPECT_EQ (openAlerts().getLast()->getName(), "WARNING");
    EXPECT_EQ (openAlerts().getLast()->getNumButtons(), 1) << "nothing offered to replace";
    EXPECT_TRUE (folder.isDirectory());
}

TEST_F (TopBar, savingOverAnExistingPresetAsksFirstWhateverNameWasTypedAndKeepsAReadOnlyOne)
{
    auto editor = openEditor();
    const juce::File userFolder (processor.userPresetFolder);
    const auto warm = userFolder.getChildFile ("Warm.qexp");
    warm.replaceWithText ("mine");

    // The dialog lists presets without their extension, so users type the plain name.
    editor->navbar.savePresetTo (userFolder.getChildFile ("Warm"));
    pumpMessages();
    ASSERT_EQ (openAlerts().size(), 1);
    EXPECT_EQ (warm.loadFileAsString(), "mine") << "nothing is replaced before the answer";
    click (button (*openAlerts()[0], "Cancel"));
    EXPECT_TRUE (openAlerts().isEmpty());
    EXPECT_EQ (warm.loadFileAsString(), "mine");

    editor->navbar.savePresetTo (warm);
    pumpMessages();
    ASSERT_EQ (openAlerts().size(), 1);
    click (button (*openAlerts()[0], "Replace"));
    EXPECT_TRUE (warm.loadFileAsString().contains ("pluginName=\"QEX Tidewell\""));
    EXPECT_TRUE (openAlerts().isEmpty());

    // A preset made read-only stays as it is, and the user is told the save failed.
    const auto saved = warm.loadFileAsString();
    setParameter ("paramGain", 0.9f);
    warm.setReadOnly (true);
    editor->navbar.savePresetTo (userFolder.getChildFile ("Warm"));
    pumpMessages();
    ASSERT_EQ (openAlerts().size(), 1);
    click (button (*openAlerts()[0], "Replace"));
    pumpMessages();
    warm.setReadOnly (false);
    ASSERT_EQ (openAlerts().size(), 1);
    EXPECT_EQ (openAlerts()[0]->getName(), "WARNING");
    EXPECT_EQ (warm.loadFileAsString(), saved);
}

TEST_F (TopBar, theSettingsAndRefreshButtonsActOnTheEditor)
{
    auto editor = openEditor();
    click (button (editor->navbar, "settingsButton"));
    EXPECT_TRUE (editor->settingsDialog.isVisible());
    click (button (editor->settingsDialog, "closeButton"));
    EXPECT_FALSE (editor->settingsDialog.isVisible());

    juce::File (processor.userPresetFolder).getChildFile ("New.qexp").create();
    click (button (editor->navbar, "refreshButton"));
    EXPECT_EQ (editor->presetBrowser.getPresetFiles().size(), 1);
}

TEST_F (TopBar, theGuideAndTheWebSiteGoToTheDesktopsOpenerAsTheyAreAndNothingIsRunOrWaitedFor)
{
    const ScopedShellCharactersDataHome hostileHome (home);
    QexTidewellAudioProcessor inHostileFolder;
    Navbar bar (inHostileFolder);
    OpenerStub opener;

    // A guide that would leave a mark if it were run as the program it claims to be.
    const auto mark = home.root().getChildFile ("guide-ran");
    const auto guide = juce::File (inHostileFolder.dataFolder).getChildFile (ProductInfo::userGuideFileName);
    ASSERT_TRUE (guide.replaceWithText ("#!/bin/sh\ntouch '" + mark.getFullPathName() + "'\n", false, false, "\n"));
    ASSERT_TRUE (guide.setExecutePermission (true));

    opener.hold (true);
    ASSERT_TRUE (choose (bar.getLogoMenu(), "User guide"));
    EXPECT_EQ (opener.nextCall(), juce::StringArray (guide.getFullPathName()));
    EXPECT_FALSE (opener.callsEnded()) << "the editor went on while the opener ran";
    opener.hold (false);

    ASSERT_TRUE (choose (bar.getLogoMenu(), "Visit vellomar.com"));
    EXPECT_EQ (opener.nextCall(), juce::StringArray ("https://vellomar.com"));
    EXPECT_FALSE (mark.exists());
    pumpMessages();
    EXPECT_TRUE (openAlerts().isEmpty());
}

TEST_F (TopBar, theOpenerStartsInItsOwnSessionWithDefaultSignalsAndNoneOfTheHostsFilesAndIsCollectedOnceItEnds)
{
    Navbar bar (processor);
    ASSERT_TRUE (juce::File (processor.dataFolder).getChildFile (ProductInfo::userGuideFileName).create());
    OpenerStub opener;
    opener.hold (true);
    {
        const HostProcessState host;
        ASSERT_TRUE (choose (bar.getLogoMenu(), "User guide"));
    }
    ASSERT_EQ (opener.nextCall().size(), 1);

    const auto child = opener.lastCaller();
    const auto status = opener.lastCallerStatus();
    EXPECT_EQ (statusField (status, "SigIgn"), "0000000000000000");
    EXPECT_EQ (statusField (status, "SigBlk"), "0000000000000000");
    EXPECT_EQ (statusField (status, "NSsid"), juce::String (child)) << "a session of its own";

    // Beyond standard input, output and error, only the script that the stand-in's shell reads.
    for (const auto& entry : std::filesystem::directory_iterator ("/proc/" + std::to_string (child) + "/fd"))
    {
        if (std::stoi (entry.path().filename()) > 2)
        {
            EXPECT_EQ (std::filesystem::read_symlink (entry).filename(), "xdg-open") << entry.path();
        }
    }

    opener.hold (false);
    const auto collected = [child] { return ! juce::File ("/proc/" + juce::String (child)).exists(); };
    for (int i = 0; i < 250 && ! collected(); ++i)
        pumpMessages();
    EXPECT_TRUE (collected()) << "the ended opener is left as a zombie";
    EXPECT_TRUE (openAlerts().isEmpty());
}

TEST_F (TopBar, withoutAnOpenerTheGuideTheWebSiteAndThePresetFolderEachWarnThatNoProgramWasFound)
{
    auto editor = openEditor();
    ASSERT_TRUE (juce::File (processor.dataFolder).getChildFile (ProductInfo::userGuideFileName).create());
    const ScopedEnvironmentVariable noOpener ("PATH", home.root().getFullPathName());

    for (const auto& [menu, item, what] :
         { std::tuple (&editor->navbar.getLogoMenu(), "User guide", "user guide"),
           std::tuple (&editor->navbar.getLogoMenu(), "Visit vellomar.com", "web site"),
           std::tuple (&editor->presetBrowser.getPresetMenu(), "Open preset directory", "preset directory") })
    {
        ASSERT_TRUE (choose (*menu, item));
        pumpMessages();
        ASSERT_EQ (openAlerts().size(), 1) << item;
        EXPECT_EQ (openAlerts()[0]->getDescription(),
                   "WARNING. No program was found to open the " + juce::String (what) + "!");
        openAlerts()[0]->exitModalState (0);
        pumpMessages();
    }
}
