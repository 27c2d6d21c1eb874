#pragma once

#include "dsp/ChorusEnsemble.h"
#include "dsp/ChorusQuad.h"
#include "dsp/ChorusSixty.h"
#include "dsp/ChorusStudio.h"
#include "dsp/Float4.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <cstdint>
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

    /** Copies the output sample pairs gathered since the last call into destination and
        returns true, or returns false (leaving destination alone) when no block has run since
        or the audio thread is writing them at that moment. Message thread; it never waits for
        the audio thread and never makes it wait. */
    bool takePhaseMeterSamples (std::vector<std::pair<double, double>>& destination);

    /** Returns the largest left or right output sample since the last call and resets it to 0. */
    float takeOutputPeak (bool right);

    // Meter feed. The audio thread writes the pairs only while it holds meterFeedBusy, and
    // the reader copies them only while it holds it; the audio thread skips a block and the
    // reader a tick rather than wait.
    std::vector<std::pair<double, double>> phaseMeterSamples;
    std::atomic<bool> phaseMeterSamplesReady { false };

    const juce::String pluginName { "QEX Tidewell" };

private:
    using Smoother = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;

    Smoother sixtyRateSmoother, sixtyDepthSmoother, sixtyDelaySmoother;
    Smoother sixtyHighpassSmoother, sixtyToneSmoother, sixtyWetSmoother;
    float sixtyRateValue = 0, sixtyDepthValue = 0, sixtyDelayValue = 0;
    float sixtyHighpassValue = 0, sixtyToneValue = 0, sixtyWetValue = 0;

    Smoother studioRateSmoother, studioDepthSmoother, studioDelaySmoother;
    Smoother studioHighpassSmoother, studioToneSmoother, studioWetSmoother;
    float studioRateValue = 0, studioDepthValue = 0, studioDelayValue = 0;
    float studioHighpassValue = 0, studioToneValue = 0, studioWetValue = 0;

    Smoother ensembleRateSmoother, ensembleDepthSmoother, ensembleVibRateSmoother, ensembleVibAmountSmoother;
    Smoother ensembleDelaySmoother, ensembleHighpassSmoother, ensembleToneSmoother, ensembleWetSmoother;
    float ensembleRateValue = 0, ensembleDepthValue = 0, ensembleVibRateValue = 0, ensembleVibAmountValue = 0;
    float ensembleDelayValue = 0, ensembleToneValue = 0, ensembleHighpassValue = 0, ensembleWetValue = 0;

    Smoother quadRateSmoother, quadDepthSmoother, quadVibRateSmoother, quadVibAmountSmoother;
    Smoother quadDelaySmoother, quadHighpassSmoother, quadToneSmoother, quadWetSmoother;
    float quadRateValue = 0, quadDepthValue = 0, quadVibRateValue = 0, quadVibAmountValue = 0;
    float quadDelayValue = 0, quadHighpassValue = 0, quadToneValue = 0, quadWetValue = 0;

    Smoother bypassSmoother;
    float bypassValue = 0;

    Smoother spreadSmoother;
    float spreadValue = 0;

    Smoother gainSmoother;
    float gainValue = 0;

    std::array<Smoother, 4> modeGainSmoothers;
    std::array<float, 4> modeGainValues {};

    int controlInterval = 1;
    bool forceParameterUpdate = true;

public:
    std::atomic<float> outputPeakLeft { 0.0f };
    std::atomic<float> outputPeakRight { 0.0f };

private:
    std::atomic<bool> isBypassed { false };
    std::atomic<float> currentChorusMode { -1.0f };

    juce::AudioBuffer<float> dryBuffer;

    ChorusSixty chorusSixty;
    ChorusStudio chorusStudio;
    ChorusEnsemble chorusEnsemble;
    ChorusQuad chorusQuad;

public:
    juce::String presetFolder;
    juce::String userPresetFolder;
    juce::String factoryPresetFolder;
    juce::String dataFolder;

private:
    /** A control driven by one parameter: its smoother, its tick value and its mailbox. */
    struct ControlSlot
    {
        const char* parameterId;
        Smoother* smoother;
        float* value;
        double rampSeconds;
        std::atomic<float>* parameterValue = nullptr;
    };

    // Slots in the order parameterChanged compares identifiers: the 28 mode controls in
    // parameter order, then bypass, spread and volume.
    enum Slot
    {
        sixtyRate, sixtyDepth, sixtyDelay, sixtyWet, sixtyHighpass, sixtyTone,
        studioRate, studioDepth, studioDelay, studioWet, studioHighpass, studioTone,
        ensembleRate, ensembleDepth, ensembleVibRate, ensembleVibAmount, ensembleDelay, ensembleWet,
        ensembleHighpass, ensembleTone,
        quadRate, quadDepth, quadVibRate, quadVibAmount, quadDelay, quadWet, quadHighpass, quadTone,
        bypass, spread, gain,
        numSlots
    };

    std::array<ControlSlot, numSlots> slots;

    using SlotMask = std::uint32_t;
    static_assert (numSlots < 32, "one bit per slot");
    static constexpr SlotMask slotBit (size_t index) { return SlotMask { 1 } << index; }
    static constexpr SlotMask allSlots = (SlotMask { 1 } << numSlots) - 1;

    // Hand-off from the threads that set parameters to the audio thread. A setter stores the
    // new target and then raises the slot's bit (release); the audio thread collects the bits
    // at each control tick (acquire) and only then touches the smoothers, which it alone owns.
    std::array<std::atomic<float>, numSlots> pendingTargets {};
    std::atomic<SlotMask> pendingSlots { 0 };
    // Slots whose smoother ramps or whose tick value has not caught up with the target yet.
    SlotMask movingSlots = allSlots;
    std::atomic<bool> modeChangePending { false };
    std::atomic<bool> jumpPending { false };

    std::atomic<bool> meterFeedBusy { false };

    // Per-block state of the audio thread.
    std::array<std::pair<float, float>, 4> engineOutputs {};
    std::array<bool, 4> engineRunning {};
    float volumeGain = 1.0f;
    int samplesUntilControlTick = 0;

    void processSlice (juce::AudioBuffer<float>& buffer, int start, int numSamples);
    void controlTick();
    /** True when a control tick now would leave every value as it is. */
    bool controlTickChangesNothing() const;
    void applyJump();
    void pushControls (SlotMask changedSlots);
    ChorusControls controlsFor (int mode) const;
    void feedMeters (const float* outLeft, const float* outRight, int numSamples, float peakLeft, float peakRight);

private:
    void loadSettings();

    friend struct ProcessorTestAccess;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QexTidewellAudioProcessor)
};
