#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

/** Text holding exactly these bytes, damaged or over-long sequences included. */
inline juce::String textOfBytes (const std::string& bytes)
{
    return { juce::CharPointer_UTF8 (bytes.data()), juce::CharPointer_UTF8 (bytes.data() + bytes.size()) };
}

/** The number of bytes the text holds, which the framework counts by decoding them: bytes that
    are not UTF-8 count for fewer than there are. */
inline size_t numBytesOf (const juce::String& text) { return std::strlen (text.toRawUTF8()); }

/** Whether the path, given as the bytes on disk, names a folder. */
bool isFolderAt (const std::string& path);

/** Sets an environment variable for the lifetime of the object, then restores it. */
class ScopedEnvironmentVariable
{
public:
    ScopedEnvironmentVariable (const char* name, const juce::String& value);
    ~ScopedEnvironmentVariable();

private:
    const char* name;
    juce::String previous;
    bool hadPrevious;
};

/** Points XDG_DATA_HOME at a fresh temporary folder for the lifetime of the object, so a
    processor created meanwhile keeps its presets and settings there. */
class ScopedDataHome
{
public:
    ScopedDataHome();
    ~ScopedDataHome();

    juce::File root() const { return folder; }
    juce::File productFolder() const;
    juce::File settingsFile() const { return productFolder().getChildFile ("settings.xml"); }

private:
    juce::File folder;
    ScopedEnvironmentVariable variable;
};

/** Records the action messages a broadcaster sends, delivered by pumping the message loop. */
class ActionRecorder : public juce::ActionListener
{
public:
    explicit ActionRecorder (juce::ActionBroadcaster& source);
    ~ActionRecorder() override;

    void actionListenerCallback (const juce::String& message) override { messages.add (message); }

    /** Delivers pending messages, then returns every message received so far. */
    const juce::StringArray& received();

private:
    juce::ActionBroadcaster& broadcaster;
    juce::StringArray messages;
};

/** Runs the message loop for a short while. Its first pass delivers every message posted so far,
    and those they post, however slow the machine; a timer's callback comes only if the timer
    thread got to it in time, so tests call timer callbacks themselves. */
void pumpMessages (int milliseconds = 20);

/** Where tests leave images and files for people to look at: the folder named by the environment
    variable TIDEWELL_TEST_OUTPUT_DIR when set, otherwise test-output in the build tree. */
juce::File testOutputFolder();

/** Saves the image as <name>.png in the given folder of the test output. */
void saveTestImage (const juce::Image& image, const juce::String& folder, const juce::String& name);

/** Points XDG_DATA_HOME, for the lifetime of the object, at a folder inside dataHome whose
    name is full of what a shell would expand or run: a path within it must reach a program
    as it is. */
class ScopedShellCharactersDataHome
{
public:
    explicit ScopedShellCharactersDataHome (const ScopedDataHome& dataHome);

private:
    ScopedEnvironmentVariable variable;
};

/** Puts a stand-in for the desktop's opener, xdg-open, first on PATH for the lifetime of the
    object. Each call records its arguments and the state its process started in; while the
    stand-in is held, each call then waits until it is released (for some seconds at most)
    before it ends. */
class OpenerStub
{
public:
    OpenerStub();
    ~OpenerStub();

    /** Waits, for some seconds at most, for the next call and gives its arguments; nothing when
        no call came. */
    juce::StringArray nextCall();

    /** The process that made the call nextCall gave last, and the /proc status of a program
        it started, which shows the session, signal mask and ignored signals it started with. */
    int lastCaller() const { return caller; }
    juce::String lastCallerStatus() const;

    void hold (bool shouldHold);

    /** Whether every call that was recorded has ended. */
    bool callsEnded() const;

private:
    juce::File folder;
    ScopedEnvironmentVariable path;
    int caller = 0;
};

/** The largest n in [low, high] for which accepted (n) holds, when it holds for low and, once
    it fails, fails for every larger n. */
int largestAccepted (int low, int high, const std::function<bool (int)>& accepted);

namespace juce
{
/** Lets test failures show a list of strings as text. */
inline void PrintTo (const StringArray& strings, std::ostream* out)
{
    *out << (strings.isEmpty() ? "[]" : "[\"" + strings.joinIntoString ("\", \"") + "\"]");
}
} // namespace juce
