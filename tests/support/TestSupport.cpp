#include "TestSupport.h"

ScopedDataHome::ScopedDataHome()
    : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                  .getChildFile ("tidewell-test-" + juce::Uuid().toString())),
      previous (juce::SystemStats::getEnvironmentVariable ("XDG_DATA_HOME", {})),
      hadPrevious (std::getenv ("XDG_DATA_HOME") != nullptr)
{
    folder.createDirectory();
    setenv ("XDG_DATA_HOME", folder.getFullPathName().toRawUTF8(), 1);
}

ScopedDataHome::~ScopedDataHome()
{
    folder.setReadOnly (false, true);
    folder.deleteRecursively();

    if (hadPrevious)
        setenv ("XDG_DATA_HOME", previous.toRawUTF8(), 1);
    else
        unsetenv ("XDG_DATA_HOME");
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
