#include "HostedPlugin.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace
{
struct Finished
{
    juce::String output;
    juce::uint32 exitCode = 0; // also 0 when the program died of a signal
};

Finished runToTheEnd (const juce::StringArray& command, int streams)
{
    juce::ChildProcess process;
    if (! process.start (command, streams))
    {
        ADD_FAILURE() << "cannot start " << command.joinIntoString (" ");
        return {};
    }
    auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish (-1);
    return { output, process.getExitCode() };
}

// Read through the binary tools, so that the check sees the table the dynamic linker uses.
// Sorted, one space between names.
std::string exportedSymbols (const juce::String& binary)
{
    const auto nm =
        runToTheEnd ({ "nm", "-D", "--defined-only", "--format=posix", binary }, juce::ChildProcess::wantStdOut);
    EXPECT_EQ (nm.exitCode, 0u) << binary;

    juce::StringArray names;
    for (const auto& line : juce::StringArray::fromLines (nm.output))
        if (line.isNotEmpty())
            names.add (line.upToFirstOccurrenceOf (" ", false, false));
    names.sort (false);
    return names.joinIntoString (" ").toStdString();
}
} // namespace

// Plug-ins made with the same framework define the same internal names: a host that loads
// plug-ins into one symbol scope must find nothing of this one's but its entry points.
TEST (BuiltBundles, exportOnlyTheirFormatsEntryPoints)
{
    EXPECT_EQ (exportedSymbols (TIDEWELL_VST3_BINARY), "GetPluginFactory ModuleEntry ModuleExit");
    EXPECT_EQ (exportedSymbols (TIDEWELL_LV2_BINARY), "lv2_descriptor lv2ui_descriptor");
}

TEST (BuiltStandalone, saysWhyItCannotOpenADisplayAndFails)
{
    const auto streams = juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr;

    const auto silent = runToTheEnd ({ "env", "DISPLAY=:987", TIDEWELL_STANDALONE_PROGRAM }, streams);
    EXPECT_EQ (silent.exitCode, 1u) << silent.output;
    EXPECT_TRUE (silent.output.contains ("cannot open the display \":987\"")) << silent.output;

    const auto unset = runToTheEnd ({ "env", "-u", "DISPLAY", TIDEWELL_STANDALONE_PROGRAM }, streams);
    EXPECT_EQ (unset.exitCode, 1u) << unset.output;
    EXPECT_TRUE (unset.output.contains ("DISPLAY is not set")) << unset.output;
}

// The binaries are built with the framework's text type mended: they read an environment variable
// and a folder's names byte for byte, so each makes its data folder exactly where a data folder named
// outside UTF-8 (a Latin-1 letter, pairs that look like over-long forms) says. The Standalone runs
// under glibc's malloc check, which stops it at the first byte written past a buffer, with such
// names in the font folder the framework scans when it first draws text.
TEST (BuiltBinaries, makeTheirDataFolderWhereADataHomeNamedOutsideUtf8Says)
{
    const auto temporary = juce::File::createTempFile ({});
    const juce::ScopeGuard removeIt { [&temporary] { temporary.deleteRecursively(); } };
    const auto root = temporary.getFullPathName().toStdString();
    std::string pairs;
    for (int i = 0; i < 40; ++i)
        pairs += "\xc1\xa9";
    const auto dataHome = root + "/jos\xe9 " + pairs;
    const auto userPresets = dataHome + "/Vellomar/QEX Tidewell/Presets/User";
    ASSERT_EQ (::mkdir (root.c_str(), 0700), 0);
    ASSERT_EQ (::mkdir (dataHome.c_str(), 0700), 0);

    {
        const ScopedEnvironmentVariable variable ("XDG_DATA_HOME", textOfBytes (dataHome));

        for (auto* load : { &HostedPlugin::loadVst3, &HostedPlugin::loadLv2 })
        {
            const auto plugin = load();
            ASSERT_NE (plugin, nullptr);
            EXPECT_TRUE (isFolderAt (userPresets)) << plugin->getPluginDescription().pluginFormatName;
            juce::File (textOfBytes (dataHome + "/Vellomar")).deleteRecursively();
        }
    }

    const auto fonts = dataHome + "/fonts";
    ASSERT_EQ (::mkdir (fonts.c_str(), 0700), 0);
    ASSERT_EQ (::close (::open ((fonts + "/" + pairs + ".ttf").c_str(), O_CREAT | O_WRONLY, 0600)), 0);
    const auto home = root + "/home " + pairs;

    juce::ChildProcess standalone;
    ASSERT_TRUE (standalone.start ({ "env", textOfBytes ("XDG_DATA_HOME=" + dataHome), textOfBytes ("HOME=" + home),
                                     "LD_PRELOAD=libc_malloc_debug.so.0", "GLIBC_TUNABLES=glibc.malloc.check=3",
                                     TIDEWELL_STANDALONE_PROGRAM },
                                   0));
    const auto deadline = juce::Time::getMillisecondCounter() + 30000;
    while (! isFolderAt (userPresets) && standalone.isRunning() && juce::Time::getMillisecondCounter() < deadline)
        juce::Thread::sleep (50);
    // Its window, and so its text, is drawn by now or soon after.
    juce::Thread::sleep (1500);

    EXPECT_TRUE (isFolderAt (userPresets));
    EXPECT_TRUE (standalone.isRunning()) << "exit code " << standalone.getExitCode();
    standalone.kill();
}
