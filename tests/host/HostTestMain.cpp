#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;

    // The plug-in creates its data folders when it is loaded; keep them out of the user's home.
    const auto dataHome = juce::File::getSpecialLocation (juce::File::tempDirectory)
                              .getChildFile ("tidewell-host-test-" + juce::Uuid().toString());
    dataHome.createDirectory();
    setenv ("XDG_DATA_HOME", dataHome.getFullPathName().toRawUTF8(), 1);

    const auto result = RUN_ALL_TESTS();
    dataHome.deleteRecursively();
    return result;
}
