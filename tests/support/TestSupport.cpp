#include "TestSupport.h"

#include <sys/stat.h>

bool isFolderAt (const std::string& path)
{
    struct stat status;
    return ::stat (path.c_str(), &status) == 0 && S_ISDIR (status.st_mode);
}

ScopedDataHome::ScopedDataHome()
    : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                  .getChildFile ("tidewell-test-" + juce::Uuid().toString())),
      variable ("XDG_DATA_HOME", folder.getFullPathName())
{
    folder.createDirectory();
}

ScopedDataHome::~ScopedDataHome()
{
    folder.setReadOnly (false, true);
    folder.deleteRecursively();
}

juce::File ScopedDataHome::productFolder() const
{
    return root().getChildFile ("Vellomar").getChildFile ("QEX Tidewell");
}

ActionRecorder::ActionRecorder (juce::ActionBroadcaster& source) : broadcaster (source)
{
    broadcaster.addActionListener (this);
}

ActionRecorder::~ActionRecorder() { broadcaster.removeActionListener (this); }

const juce::StringArray& ActionRecorder::received()
{
    pumpMessages();
    return messages;
}

void pumpMessages (int milliseconds) { juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds); }

void saveTestImage (const juce::Image& image, const juce::String& folder, const juce::String& name)
{
    auto file = testOutputFolder().getChildFile (folder).getChildFile (name + ".png");
    file.getParentDirectory().createDirectory();
    file.deleteFile();
    juce::FileOutputStream out (file);
    juce::PNGImageFormat().writeImageToStream (image, out);
}

juce::File testOutputFolder()
{
    // A shared or read-only build tree can be tested with the output sent elsewhere.
    const auto chosen = juce::SystemStats::getEnvironmentVariable ("TIDEWELL_TEST_OUTPUT_DIR", {});
    auto folder = chosen.isNotEmpty() ? juce::File::getCurrentWorkingDirectory().getChildFile (chosen)
                                      : juce::File (TIDEWELL_TEST_OUTPUT_DIR);
    folder.createDirectory();
    return folder;
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable (const char* variableName, const juce::String& value)
    : name (variableName),
      previous (juce::SystemStats::getEnvironmentVariable (variableName, {})),
      hadPrevious (std::getenv (variableName) != nullptr)
{
    setenv (name, value.toRawUTF8(), 1);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable()
{
    if (hadPrevious)
        setenv (name, previous.toRawUTF8(), 1);
    else
        unsetenv (name);
}

ScopedShellCharactersDataHome::ScopedShellCharactersDataHome (const ScopedDataHome& dataHome)
    : variable ("XDG_DATA_HOME",
                dataHome.root().getChildFile ("a $(touch x) `touch y` \"q\" 'r' ;|&<>*? b").getFullPathName())
{
}

namespace
{
juce::File newTemporaryFolder (const juce::String& prefix)
{
    auto folder =
        juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile (prefix + juce::Uuid().toString());
    folder.createDirectory();
    return folder;
}

/** Waits, for some seconds at most, until done () holds. */
bool eventually (const std::function<bool()>& done)
{
    for (int i = 0; i < 1000; ++i)
    {
        if (done())
            return true;
        juce::Thread::sleep (5);
    }
    return done();
}
} // namespace

OpenerStub::OpenerStub()
    : folder (newTemporaryFolder ("tidewell-opener-")),
      path ("PATH", folder.getFullPathName() + ":" + juce::SystemStats::getEnvironmentVariable ("PATH", {}))
{
    // Each call writes the status of a program it starts, then its arguments, each ended by a
    // zero byte, to a file that appears whole. bash, unlike dash, passes on the signal mask it
    // was started with, so that status shows the mask and ignored signals the call started with.
    const auto script = folder.getChildFile ("xdg-open");
    script.replaceWithText ("#!/bin/bash\n"
                            "cd '"
                            + folder.getFullPathName()
                            + "' || exit 1\n"
                              "cat /proc/self/status > status.$$\n"
                              "printf '%s\\0' \"$@\" > part.$$ && mv part.$$ call.$$\n"
                              "i=0\n"
                              "while [ -e hold ] && [ $i -lt 2000 ]; do sleep 0.01; i=$((i + 1)); done\n"
                              "touch ended.$$\n",
                            false, false, "\n");
    script.setExecutePermission (true);
}

OpenerStub::~OpenerStub()
{
    hold (false);
    eventually ([this] { return callsEnded(); });
    folder.deleteRecursively();
}

juce::StringArray OpenerStub::nextCall()
{
    juce::Array<juce::File> calls;
    if (! eventually ([&]
                      { return ! (calls = folder.findChildFiles (juce::File::findFiles, false, "call.*")).isEmpty(); }))
        return {};

    // Calls are taken one at a time; a taken call keeps its number for callsEnded.
    const auto call = calls.getFirst();
    caller = call.getFileExtension().substring (1).getIntValue();
    juce::MemoryBlock bytes;
    call.loadFileAsData (bytes);
    call.moveFileTo (call.getSiblingFile ("taken" + call.getFileExtension()));

    juce::StringArray arguments;
    const auto* text = static_cast<const char*> (bytes.getData());
    for (size_t start = 0, end = 0; end < bytes.getSize(); ++end)
    {
        if (text[end] == 0)
        {
            arguments.add (juce::String::fromUTF8 (text + start, (int) (end - start)));
            start = end + 1;
        }
    }
    return arguments;
}

juce::String OpenerStub::lastCallerStatus() const
{
    return folder.getChildFile ("status." + juce::String (caller)).loadFileAsString();
}

void OpenerStub::hold (bool shouldHold)
{
    const auto marker = folder.getChildFile ("hold");
    if (shouldHold)
        marker.create();
    else
        marker.deleteFile();
}

bool OpenerStub::callsEnded() const
{
    const auto count = [this] (const char* pattern)
    { return folder.getNumberOfChildFiles (juce::File::findFiles, pattern); };
    return count ("ended.*") == count ("call.*") + count ("taken.*");
}

int largestAccepted (int low, int high, const std::function<bool (int)>& accepted)
{
    while (low < high)
    {
        const auto middle = low + (high - low + 1) / 2;
        if (accepted (middle))
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}
