#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <utility>
#include <vector>

class QexTidewellAudioProcessor : public juce::AudioProcessor,
                                  public juce::AudioProcessorValueTreeState::Listener,
                                  public juce::ActionBroadcaster
{
public:
    QexTidewellAudioProcessor();
    ~QexTidewellAudioProcessor() override;

    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using juce::AudioProcessor::processBlock;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    void parameterChanged (const juce::String& parameterID, float newValue) override;

    static juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    /** Jumps every smoother to its parameter's present value and makes the next block
        push every control value into the engines. */
    void resetSmootherValues();

    /** Applies the preset file at path; false when nothing was changed. */
    bool loadPreset (juce::String path);

    /** Writes the current preset to chosenPath (".qexp" is appended unless present); false
        when the path is empty (a cancelled dialog) or the file was not written. */
    bool savePreset (const juce::String& chosenPath);

    /** Writes the whole settings tree to "settings.xml"; false when the file was not written. */
    bool saveSettings();

    static const juce::Identifier presetDataName;
    static const juce::Identifier presetDataPath;

    juce::AudioProcessorValueTreeState parameters;
    juce::ValueTree settingsTree;

    std::vector<std::pair<double, double>> phaseMeterSamples;
    bool phaseMeterSamplesReady = false;

    const juce::String pluginName { "QEX Tidewell" };

private:
    int controlInterval = 1;
    bool forceParameterUpdate = true;

public:
    float outputPeakLeft = 0.0f;
    float outputPeakRight = 0.0f;

private:
    bool isBypassed = false;
    float currentChorusMode = -1.0f;

    juce::AudioBuffer<float> dryBuffer;

public:
    juce::String presetFolder;
    juce::String userPresetFolder;
    juce::String factoryPresetFolder;
    juce::String dataFolder;

private:
    void loadSettings();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QexTidewellAudioProcessor)
};
