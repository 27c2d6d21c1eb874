#pragma once

#include "ProductInfo.h"
#include "processor/audio/ChorusMix.h"
#include "processor/audio/ControlSmoothing.h"
#include "processor/audio/MeterFeed.h"
#include "processor/state/PresetFile.h"
#include "processor/state/Settings.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <utility>
#include <vector>

/** The plug-in as the host sees it. It owns the parameters, the settings and the data folders,
    and wires the parameters to the control smoothing, the smoothing to the mix, and the mix to
    the meter feed. */
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

    /** Any thread: hands the parameter's new value to the control smoothing. */
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

    /** Copies the output sample pairs gathered since the last call into destination and
        returns true, or returns false (leaving destination alone) when no block has run since
        or the audio thread is writing them at that moment. Message thread; it never waits for
        the audio thread and never makes it wait. */
    bool takePhaseMeterSamples (std::vector<std::pair<double, double>>& destination);

    /** Returns the largest left or right output sample since the last call and resets it to 0. */
    float takeOutputPeak (bool right);

    static inline const juce::Identifier& presetDataName = PresetFile::nameProperty;
    static inline const juce::Identifier& presetDataPath = PresetFile::pathProperty;

    juce::AudioProcessorValueTreeState parameters;
    const juce::String pluginName { ProductInfo::name };

    // Full paths, written only by the constructor.
    juce::String dataFolder;
    juce::String presetFolder;
    juce::String userPresetFolder;
    juce::String factoryPresetFolder;

    Settings settings;

private:
    void loadSettings();

    ControlSmoothing smoothing;
    MeterFeed meterFeed;
    ChorusMix mix;

    friend struct ProcessorTestAccess;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QexTidewellAudioProcessor)
};
