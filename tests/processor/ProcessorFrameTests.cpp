#include "processor/PluginProcessor.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST (ProcessorFrame, aFreshInstanceCreatesItsPresetFoldersAndStartsAtInit)
{
    ScopedDataHome home;
    ASSERT_FALSE (home.productFolder().exists());

    QexTidewellAudioProcessor processor;
    ActionRecorder recorder (processor);

    const auto presets = home.productFolder().getChildFile ("Presets");
    EXPECT_TRUE (presets.getChildFile ("User").isDirectory());
    EXPECT_TRUE (presets.getChildFile ("Factory").isDirectory());

    EXPECT_EQ (processor.dataFolder, home.productFolder().getFullPathName());
    EXPECT_EQ (processor.presetFolder, presets.getFullPathName());
    EXPECT_EQ (processor.userPresetFolder, presets.getChildFile ("User").getFullPathName());
    EXPECT_EQ (processor.factoryPresetFolder, presets.getChildFile ("Factory").getFullPathName());

    EXPECT_EQ (processor.parameters.state[QexTidewellAudioProcessor::presetDataName].toString(), "Init");
    EXPECT_EQ (processor.parameters.state[QexTidewellAudioProcessor::presetDataPath].toString(),
               presets.getFullPathName() + "/Init.qexp");
    EXPECT_FALSE (presets.getChildFile ("Init.qexp").exists()) << "no preset file is written at start";
    EXPECT_FALSE (home.settingsFile().exists());
    EXPECT_TRUE (recorder.received().isEmpty());
}

TEST (ProcessorFrame, answersHostsWithFixedFacts)
{
    ScopedDataHome home;
    QexTidewellAudioProcessor processor;

    EXPECT_EQ (processor.getName(), "QEX Tidewell");
    EXPECT_EQ (processor.pluginName, "QEX Tidewell");
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_EQ (processor.getLatencySamples(), 0);
    EXPECT_EQ (processor.getBypassParameter(), nullptr);

    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    processor.setCurrentProgram (3);
    processor.changeProgramName (0, "Renamed");
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), juce::String());
    EXPECT_EQ (processor.getProgramName (7), juce::String());
}

TEST (ProcessorFrame, busesAreInputAndOutputAndAcceptEveryLayout)
{
    ScopedDataHome home;
    QexTidewellAudioProcessor processor;

    ASSERT_EQ (processor.getBusCount (true), 1);
    ASSERT_EQ (processor.getBusCount (false), 1);
    EXPECT_EQ (processor.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (processor.getTotalNumInputChannels(), 2);
    EXPECT_EQ (processor.getTotalNumOutputChannels(), 2);

    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();

    for (const auto& [in, out] : { std::pair { mono, stereo }, std::pair { mono, mono }, std::pair { stereo, mono } })
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (in);
        layout.outputBuses.add (out);
        EXPECT_TRUE (processor.setBusesLayout (layout));
        EXPECT_EQ (processor.getTotalNumInputChannels(), in.size());
        EXPECT_EQ (processor.getTotalNumOutputChannels(), out.size());
    }
}

TEST (ProcessorFrame, destructionLeavesSettingsAndPresetFoldersAlone)
{
    ScopedDataHome home;
    {
        QexTidewellAudioProcessor processor;
        processor.settings.setValue ("scale", 1.5);
        ASSERT_TRUE (processor.saveSettings());
    }
    const auto saved = home.settingsFile().loadFileAsString();
    {
        QexTidewellAudioProcessor processor;
        processor.settings.setValue ("scale", 2.0);
    }
    EXPECT_EQ (home.settingsFile().loadFileAsString(), saved);
    EXPECT_TRUE (home.productFolder().getChildFile ("Presets/User").isDirectory());
}

TEST (ProcessorFrame, anUnwritableDataFolderIsNoObstacleToConstruction)
{
    ScopedDataHome home;
    // A file where the vendor folder should be: nothing below it can be created.
    home.root().getChildFile ("Vellomar").replaceWithText ("in the way");

    QexTidewellAudioProcessor processor;
    EXPECT_FALSE (juce::File (processor.userPresetFolder).isDirectory());
    EXPECT_FALSE (processor.saveSettings());
    EXPECT_EQ (processor.settings.tree().getNumChildren(), 4);
}
