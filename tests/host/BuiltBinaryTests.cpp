#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

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
