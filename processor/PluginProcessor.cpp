#include "PluginProcessor.h"

#include "FiniteParameterFloat.h"
#include "ParamValueConverter.h"
#include "PresetFile.h"
#include "ProductDataFolder.h"
#include "StateXml.h"
#include "editor/PluginEditor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <thread>
#include <type_traits>

const juce::Identifier QexTidewellAudioProcessor::presetDataName { "presetName" };
const juce::Identifier QexTidewellAudioProcessor::presetDataPath { "presetPath" };

namespace
{
using Range = juce::NormalisableRange<float>;
using ValueToText = std::function<juce::String (float, int)>;
using TextToValue = std::function<float (const juce::String&)>;

/** A range that moves evenly through the octaves, for the high-pass controls. */
Range getNormalisableRangeExp (float min, float max)
{
    const auto logMin = std::log (min);
    const auto logRange = std::log (max) - std::log (min);

    return Range (
        min,
        max,
        [logMin, logRange] (float start, float end, float proportion)
        {
            proportion = std::isnan (proportion) ? 1.0f : juce::jlimit (0.0f, 1.0f, proportion);
            const auto value = std::exp (proportion * logRange + logMin);
            return juce::jmax (start, juce::jmin (end, value));
        },
        [logMin, logRange] (float start, float end, float value)
        {
            value = juce::jmax (start, juce::jmin (end, value));
            return (std::log (value) - logMin) / logRange;
        },
        [] (float, float, float value) { return value; });
}

ValueToText withDecimals (int decimals, const char* unit)
{
    return [decimals, unit] (float value, int) { return juce::String (value, decimals) + unit; };
}

/** Removes the unit's length from the end, whatever the characters are, and reads the
    number that remains. */
TextToValue dropLast (int numCharacters)
{
    return [numCharacters] (const juce::String& text)
    { return (float) ParamValueConverter::readValue (text.dropLastCharacters (numCharacters)); };
}

const ValueToText hertzText = withDecimals (2, "Hz");
const ValueToText millisecondsText = withDecimals (2, "ms");
const ValueToText percentText = withDecimals (0, "%");
const ValueToText decibelsText = withDecimals (1, "dB");
const ValueToText frequencyText = &ParamValueConverter::valueToTextFreq;
const TextToValue frequencyValue = &ParamValueConverter::textToValueFreq;

const ValueToText fractionAsPercentText = [] (float value, int)
{ return juce::String (value * 100.0f, 0) + "%"; };

const TextToValue percentToFraction = [] (const juce::String& text)
{ return (float) (ParamValueConverter::readValue (text.dropLastCharacters (1)) * 0.01); };

const ValueToText modeNameText = [] (float value, int) -> juce::String
{
    if (value == 0.0f)
        return "Sixty";
    if (value == 1.0f)
        return "Studio";
    if (value == 2.0f)
        return "Ensemble";
    return "Quad";
};

const TextToValue modeNameValue = [] (const juce::String& text)
{
    if (text == "Sixty")
        return 0.0f;
    if (text == "Studio")
        return 1.0f;
    if (text == "Ensemble")
        return 2.0f;
    return 3.0f;
};

const ValueToText bypassText = [] (float value, int) -> juce::String
{ return value < 0.5f ? "Active" : "Bypassed"; };

const TextToValue bypassValue = [] (const juce::String& text)
{ return text == "Active" ? 0.0f : 1.0f; };

struct ParameterSpec
{
    const char* id;
    const char* name;
    Range range;
    float defaultValue;
    const ValueToText& toText;
    const TextToValue& toValue;
};

std::vector<ParameterSpec> parameterTable()
{
    const auto rate = Range (0.1f, 6.0f, 0.01f);
    const auto depth = Range (0.1f, 10.0f, 0.01f);
    const auto delay = Range (0.1f, 20.0f, 0.1f);
    const auto wet = Range (0.0f, 100.0f, 1.0f);
    const auto highpass = getNormalisableRangeExp (20.0f, 10000.0f);
    const auto lowpass = Range (1000.0f, 20000.0f, 100.0f);
    const auto vibAmount = Range (0.0f, 1.0f, 0.01f);
    const auto drop1 = dropLast (1);
    const auto drop2 = dropLast (2);

    // The order is the host's parameter order; saved projects depend on these identifiers.
    return {
        { "paramChorusMode", "Mode", Range (0.0f, 3.0f, 1.0f), 0.0f, modeNameText, modeNameValue },

        { "paramSixtyRate", "Sixty Rate", rate, 0.86f, hertzText, drop2 },
        { "paramSixtyDepth", "Sixty Depth", depth, 3.99f, millisecondsText, drop2 },
        { "paramSixtyDelay", "Sixty Delay", delay, 1.61f, millisecondsText, drop2 },
        { "paramSixtyWet", "Sixty Wet", wet, 50.0f, percentText, drop1 },
        { "paramSixtyHighpass", "Sixty Highpass", highpass, 20.0f, frequencyText, frequencyValue },
        { "paramSixtyTone", "Sixty Lowpass", lowpass, 4000.0f, frequencyText, frequencyValue },

        { "paramStudioRate", "Studio Rate", rate, 0.25f, hertzText, drop2 },
        { "paramStudioDepth", "Studio Depth", depth, 4.0f, millisecondsText, drop2 },
        { "paramStudioDelay", "Studio Delay", delay, 6.0f, millisecondsText, drop2 },
        { "paramStudioWet", "Studio Wet", wet, 45.0f, percentText, drop1 },
        { "paramStudioHighpass", "Studio Highpass", highpass, 20.0f, frequencyText, frequencyValue },
        { "paramStudioTone", "Studio Lowpass", lowpass, 8000.0f, frequencyText, frequencyValue },

        { "paramEnsembleRate", "Ensemble Rate", rate, 0.2f, hertzText, drop2 },
        { "paramEnsembleDepth", "Ensemble Depth", depth, 3.0f, millisecondsText, drop2 },
        { "paramEnsembleVibRate", "Ensemble Vibrato Rate", rate, 5.0f, hertzText, drop2 },
        { "paramEnsembleVibAmount", "Ensemble Vibrato Amount", vibAmount, 0.4f, fractionAsPercentText, percentToFraction },
        { "paramEnsembleDelay", "Ensemble Delay", delay, 4.0f, millisecondsText, drop2 },
        { "paramEnsembleWet", "Ensemble Wet", wet, 50.0f, percentText, drop1 },
        { "paramEnsembleHighpass", "Ensemble Highpass", highpass, 20.0f, frequencyText, frequencyValue },
        { "paramEnsembleTone", "Ensemble Lowpass", lowpass, 12000.0f, frequencyText, frequencyValue },

        { "paramQuadRate", "Quad Rate", rate, 0.21f, hertzText, drop2 },
        { "paramQuadDepth", "Quad Depth", depth, 4.44f, millisecondsText, drop2 },
        { "paramQuadVibRate", "Quad Vibrato Rate", rate, 5.71f, hertzText, drop2 },
        { "paramQuadVibAmount", "Quad Vibrato Amount", vibAmount, 0.4f, fractionAsPercentText, percentToFraction },
        { "paramQuadDelay", "Quad Delay", delay, 2.25f, millisecondsText, drop2 },
        { "paramQuadWet", "Quad Wet", wet, 50.0f, percentText, drop1 },
        { "paramQuadHighpass", "Quad Highpass", highpass, 20.0f, frequencyText, frequencyValue },
        { "paramQuadTone", "Quad Lowpass", lowpass, 12000.0f, frequencyText, frequencyValue },

        { "paramBypassGlobal", "Bypass", Range (0.0f, 1.0f, 1.0f), 0.0f, bypassText, bypassValue },
        { "paramSpread", "Spread", Range (0.0f, 200.0f, 1.0f), 100.0f, percentText, drop1 },
        { "paramGain", "Volume", Range (-12.0f, 12.0f, 0.1f), 0.0f, decibelsText, drop2 },
    };
}

/** The parameters that belong to no chorus mode, in the order the listener sees them. */
constexpr const char* globalParameterIds[] { "paramChorusMode", "paramBypassGlobal", "paramSpread", "paramGain" };

bool isGlobalParameter (const char* id)
{
    return std::any_of (std::begin (globalParameterIds), std::end (globalParameterIds),
                        [id] (const char* global) { return std::strcmp (global, id) == 0; });
}

const std::pair<const char*, const char*> defaultSettings[] {
    { "scale", "1.0" },
    { "ignorePresetInactiveModes", "false" },
    { "ignorePresetSpreadParam", "false" },
    { "ignorePresetVolumeParam", "false" },
};

const juce::Identifier settingsType { "settings" };

/** The most bytes one setting that the plug-in writes takes in the settings file. */
constexpr int maxSettingBytes = 96;

// Ramp lengths of the smoothers, in seconds.
constexpr double slowRamp = 0.5;
constexpr int maxPhaseMeterPairs = 100;
constexpr double fastRamp = 0.1;
constexpr double bypassRamp = 0.05;
constexpr double modeCrossfadeRamp = 0.5;

/** The crossfade sum with one engine running, when every other engine adds a zero (its held pair
    times its gain), which is the steady state. Adding -0 changes nothing and adding +0 only turns a
    -0 into +0, so the sum is the running engine's term plus +0 if any of the zeros added to it is
    +0, else plus -0; per channel. */
struct SingleEngine
{
    size_t engine;
    float zero[2];
    Float4 zeros;
};

std::optional<SingleEngine> singleRunningEngine (const std::array<float, 4>& gains, const std::array<bool, 4>& running,
                                                 const std::array<std::pair<float, float>, 4>& held) noexcept
{
    if (std::count (running.begin(), running.end(), true) != 1)
        return {};

    SingleEngine single { (size_t) (std::find (running.begin(), running.end(), true) - running.begin()), {}, {} };
    for (int channel = 0; channel < 2; ++channel)
    {
        // The zeros before the running engine are summed first; the rest are added one by one.
        auto prefix = -0.0f;
        auto plusZero = false;
        for (size_t k = 0; k < 4; ++k)
        {
            if (k == single.engine)
                continue;
            const auto term = (channel == 0 ? held[k].first : held[k].second) * gains[k];
            if (term != 0.0f)
                return {};
            if (k < single.engine)
                prefix = k == 0 ? term : prefix + term;
            else
                plusZero = plusZero || ! std::signbit (term);
        }
        plusZero = plusZero || (single.engine > 0 && ! std::signbit (prefix));
        single.zero[channel] = plusZero ? 0.0f : -0.0f;
    }
    single.zeros = Float4 (single.zero[0], single.zero[1], single.zero[0], single.zero[1]);
    return single;
}

int lowestSetBit (std::uint32_t mask) noexcept
{
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_ctz (mask);
#else
    int index = 0;
    for (; (mask & 1u) == 0; mask >>= 1)
        ++index;
    return index;
#endif
}

int rampSteps (double seconds, int controlInterval, double sampleRate)
{
    return (int) std::floor ((seconds / controlInterval) * sampleRate);
}
const juce::Identifier valueProperty { "value" };
} // namespace

//==============================================================================
QexTidewellAudioProcessor::QexTidewellAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, nullptr, "PARAMETERS", createParameterLayout()),
      slots { {
          { "paramSixtyRate", &sixtyRateSmoother, &sixtyRateValue, slowRamp },
          { "paramSixtyDepth", &sixtyDepthSmoother, &sixtyDepthValue, slowRamp },
          { "paramSixtyDelay", &sixtyDelaySmoother, &sixtyDelayValue, slowRamp },
          { "paramSixtyWet", &sixtyWetSmoother, &sixtyWetValue, fastRamp },
          { "paramSixtyHighpass", &sixtyHighpassSmoother, &sixtyHighpassValue, fastRamp },
          { "paramSixtyTone", &sixtyToneSmoother, &sixtyToneValue, fastRamp },
          { "paramStudioRate", &studioRateSmoother, &studioRateValue, slowRamp },
          { "paramStudioDepth", &studioDepthSmoother, &studioDepthValue, slowRamp },
          { "paramStudioDelay", &studioDelaySmoother, &studioDelayValue, slowRamp },
          { "paramStudioWet", &studioWetSmoother, &studioWetValue, fastRamp },
          { "paramStudioHighpass", &studioHighpassSmoother, &studioHighpassValue, fastRamp },
          { "paramStudioTone", &studioToneSmoother, &studioToneValue, fastRamp },
          { "paramEnsembleRate", &ensembleRateSmoother, &ensembleRateValue, slowRamp },
          { "paramEnsembleDepth", &ensembleDepthSmoother, &ensembleDepthValue, slowRamp },
          { "paramEnsembleVibRate", &ensembleVibRateSmoother, &ensembleVibRateValue, slowRamp },
          { "paramEnsembleVibAmount", &ensembleVibAmountSmoother, &ensembleVibAmountValue, slowRamp },
          { "paramEnsembleDelay", &ensembleDelaySmoother, &ensembleDelayValue, slowRamp },
          { "paramEnsembleWet", &ensembleWetSmoother, &ensembleWetValue, fastRamp },
          { "paramEnsembleHighpass", &ensembleHighpassSmoother, &ensembleHighpassValue, fastRamp },
          { "paramEnsembleTone", &ensembleToneSmoother, &ensembleToneValue, fastRamp },
          { "paramQuadRate", &quadRateSmoother, &quadRateValue, slowRamp },
          { "paramQuadDepth", &quadDepthSmoother, &quadDepthValue, slowRamp },
          { "paramQuadVibRate", &quadVibRateSmoother, &quadVibRateValue, slowRamp },
          { "paramQuadVibAmount", &quadVibAmountSmoother, &quadVibAmountValue, slowRamp },
          { "paramQuadDelay", &quadDelaySmoother, &quadDelayValue, slowRamp },
          { "paramQuadWet", &quadWetSmoother, &quadWetValue, fastRamp },
          { "paramQuadHighpass", &quadHighpassSmoother, &quadHighpassValue, fastRamp },
          { "paramQuadTone", &quadToneSmoother, &quadToneValue, fastRamp },
          { "paramBypassGlobal", &bypassSmoother, &bypassValue, bypassRamp },
          { "paramSpread", &spreadSmoother, &spreadValue, fastRamp },
          { "paramGain", &gainSmoother, &gainValue, fastRamp },
      } }
{
    for (auto& slot : slots)
        slot.parameterValue = parameters.getRawParameterValue (slot.parameterId);

    const auto data = productDataFolder();
    dataFolder = data.getFullPathName();

    // Failures are ignored: the paths stay valid, and whatever uses them fails on its own terms.
    const auto presets = data.getChildFile ("Presets");
    presetFolder = presets.getFullPathName();
    presets.createDirectory();

    userPresetFolder = presets.getChildFile ("User").getFullPathName();
    juce::File (userPresetFolder).createDirectory();

    factoryPresetFolder = presets.getChildFile ("Factory").getFullPathName();
    juce::File (factoryPresetFolder).createDirectory();

    parameters.state.setProperty (presetDataName, "Init", nullptr);
    parameters.state.setProperty (presetDataPath, presetFolder + "/" + "Init.qexp", nullptr);

    settingsTree = juce::ValueTree (settingsType);
    for (const auto& [key, value] : defaultSettings)
        settingsTree.appendChild (juce::ValueTree (key).setProperty (valueProperty, value, nullptr), nullptr);

    loadSettings();

    for (const auto& spec : parameterTable())
        if (! isGlobalParameter (spec.id))
            parameters.addParameterListener (spec.id, this);

    for (const auto* id : globalParameterIds)
        parameters.addParameterListener (id, this);
}

QexTidewellAudioProcessor::~QexTidewellAudioProcessor() = default;

//==============================================================================
juce::AudioProcessorValueTreeState::ParameterLayout QexTidewellAudioProcessor::createParameterLayout()
{
    juce::AudioProcessorValueTreeState::ParameterLayout layout;

    for (const auto& spec : parameterTable())
        layout.add (std::make_unique<FiniteParameterFloat> (
            juce::ParameterID { spec.id, 1 },
            spec.name,
            spec.range,
            spec.defaultValue,
            juce::AudioParameterFloatAttributes()
                .withLabel ({})
                .withCategory (juce::AudioProcessorParameter::genericParameter)
                .withStringFromValueFunction (spec.toText)
                .withValueFromStringFunction (spec.toValue)));

    return layout;
}

//==============================================================================
const juce::String QexTidewellAudioProcessor::getName() const { return "QEX Tidewell"; }

void QexTidewellAudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    // A host that reports no usable rate or block size still gets a working processor.
    if (! (sampleRate > 0.0 && std::isfinite (sampleRate)))
        sampleRate = 44100.0;
    samplesPerBlock = juce::jmax (1, samplesPerBlock);

    // About 860 control ticks per second at every sample rate.
    controlInterval = (int) std::ceil (sampleRate / 44100.0 * 51.0);

    for (auto& slot : slots)
        slot.smoother->reset (rampSteps (slot.rampSeconds, controlInterval, sampleRate));
    for (auto& smoother : modeGainSmoothers)
        smoother.reset (rampSteps (modeCrossfadeRamp, controlInterval, sampleRate));

    currentChorusMode.store (parameters.getRawParameterValue ("paramChorusMode")->load());

    // The audio thread is stopped while the host prepares, so the jump is made here directly;
    // whatever was waiting for the next control tick is contained in it.
    pendingSlots.store (0);
    modeChangePending.store (false);
    jumpPending.store (false);
    applyJump();

    dryBuffer.setSize (getTotalNumInputChannels(), samplesPerBlock);

    {
        // The reader may be copying the pairs right now; wait for it before reallocating.
        while (meterFeedBusy.exchange (true, std::memory_order_acquire))
            std::this_thread::yield();
        phaseMeterSamples.reserve ((size_t) (maxPhaseMeterPairs + samplesPerBlock));
        meterFeedBusy.store (false, std::memory_order_release);
    }

    const auto outputs = getTotalNumOutputChannels();
    chorusSixty.prepare (sampleRate, outputs, controlsFor (0));
    chorusStudio.prepare (sampleRate, outputs, controlsFor (1));
    chorusEnsemble.prepare (sampleRate, outputs, controlsFor (2));
    chorusQuad.prepare (sampleRate, outputs, controlsFor (3));
}

void QexTidewellAudioProcessor::releaseResources() {}

void QexTidewellAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    const auto maxSlice = dryBuffer.getNumSamples();
    if (maxSlice == 0)
        return; // not prepared: the input passes unchanged

    // A host that sends more than it announced is served in slices that fit the dry copy,
    // exactly as if it had sent the slices itself.
    for (int start = 0; start < buffer.getNumSamples(); start += maxSlice)
        processSlice (buffer, start, juce::jmin (maxSlice, buffer.getNumSamples() - start));
}

void QexTidewellAudioProcessor::processSlice (juce::AudioBuffer<float>& buffer, int start, int numSamples)
{
    const auto ins = juce::jmin (getTotalNumInputChannels(), buffer.getNumChannels(), dryBuffer.getNumChannels());
    const auto outs = juce::jmin (getTotalNumOutputChannels(), buffer.getNumChannels());

    for (auto channel = ins; channel < outs; ++channel)
        buffer.clear (channel, start, numSamples);

    if (ins == 0 || outs == 0)
        return;

    for (int channel = 0; channel < ins; ++channel)
        dryBuffer.copyFrom (channel, 0, buffer, channel, start, numSamples);

    const auto* inLeft = buffer.getReadPointer (0, start);
    const auto* inRight = buffer.getReadPointer (ins >= 2 ? 1 : 0, start);
    auto* outLeft = buffer.getWritePointer (0, start);
    auto* outRight = buffer.getWritePointer (outs >= 2 ? 1 : 0, start);
    const auto* dryLeft = dryBuffer.getReadPointer (0);
    const auto* dryRight = dryBuffer.getReadPointer (ins >= 2 ? 1 : 0);

    engineOutputs = {};
    auto peakLeft = 0.0f;
    auto peakRight = 0.0f;
    Float4 peaksLeft (0.0f), peaksRight (0.0f);

    for (int chunkStart = 0, chunkEnd = 0; chunkStart < numSamples; chunkStart = chunkEnd)
    {
        controlTick();

        // The engines run on through the ticks that would change nothing, in longer stretches.
        chunkEnd = juce::jmin (numSamples, chunkStart + controlInterval);
        while (chunkEnd < numSamples && controlTickChangesNothing())
            chunkEnd = juce::jmin (numSamples, chunkEnd + controlInterval);
        const auto gains = modeGainValues;
        const auto running = engineRunning;
        const auto volume = volumeGain;
        const auto bypassMix = bypassValue;
        const auto single = singleRunningEngine (gains, running, engineOutputs);

        for (int blockStart = chunkStart; blockStart < chunkEnd; blockStart += engineBlockSize)
        {
            const auto n = juce::jmin (engineBlockSize, chunkEnd - blockStart);

            // Each engine's output pairs, interleaved; an engine that does not run repeats the
            // last pair it gave in this slice.
            alignas (16) float frames[4][2 * engineBlockSize];
            const auto render = [&] (size_t k, auto& engine)
            {
                if (running[k])
                {
                    engine.process (inLeft + blockStart, inRight + blockStart, frames[k], n);
                    engineOutputs[k] = { frames[k][2 * n - 2], frames[k][2 * n - 1] };
                }
                else if (! single.has_value())
                {
                    const Float4 held (engineOutputs[k].first, engineOutputs[k].second, engineOutputs[k].first,
                                       engineOutputs[k].second);
                    for (int i = 0; i < n; i += 2)
                        held.store (frames[k] + 2 * i);
                }
            };
            render (0, chorusSixty);
            render (1, chorusStudio);
            render (2, chorusEnsemble);
            render (3, chorusQuad);

            // The rest of the path, on one frame (float) or on four (Float4, each lane a frame).
            const auto mixed = [&] (auto lanes, int offset)
            {
                using Lanes = decltype (lanes);
                const auto at = [&frames, offset] (size_t k)
                {
                    if constexpr (std::is_same_v<Lanes, float>)
                        return frames[k][offset];
                    else
                        return Float4::load (frames[k] + offset);
                };
                if (single.has_value())
                {
                    if constexpr (std::is_same_v<Lanes, float>)
                        return at (single->engine) * gains[single->engine] + single->zero[offset % 2];
                    else
                        return at (single->engine) * gains[single->engine] + single->zeros;
                }
                return ((at (0) * gains[0] + at (1) * gains[1]) + at (2) * gains[2]) + at (3) * gains[3];
            };
            const auto finish = [&] (auto left, auto right, int i, auto& peakOfLeft, auto& peakOfRight)
            {
                using Lanes = decltype (left);
                const auto load = [] (const float* p)
                {
                    if constexpr (std::is_same_v<Lanes, float>)
                        return *p;
                    else
                        return Float4::load (p);
                };
                const auto store = [] (float* p, Lanes x)
                {
                    if constexpr (std::is_same_v<Lanes, float>)
                        *p = x;
                    else
                        x.store (p);
                };
                // jmax (peak, x): x only when it is larger, never a NaN.
                const auto raise = [] (auto& peak, Lanes x)
                {
                    if constexpr (std::is_same_v<Lanes, float>)
                        peak = juce::jmax (peak, x);
                    else
                        peak = max (x, peak);
                };

                auto l = outs == 2 ? left * volume : (left + right) * volume;
                auto r = right * volume;
                if (bypassMix != 0.0f)
                {
                    l = l * (1.0f - bypassMix) + load (dryLeft + i) * bypassMix;
                    r = r * (1.0f - bypassMix) + load (dryRight + i) * bypassMix;
                }

                store (outLeft + i, l);
                raise (peakOfLeft, l);
                if (outs == 2)
                {
                    store (outRight + i, r);
                    raise (peakOfRight, r);
                }
                else
                {
                    raise (peakOfRight, load (outRight + i)); // the left channel again, or one left alone
                }
            };

            int j = 0;
            for (; j + 4 <= n; j += 4)
            {
                const auto first = mixed (Float4(), 2 * j), second = mixed (Float4(), 2 * j + 4);
                finish (evenLanes (first, second), oddLanes (first, second), blockStart + j, peaksLeft, peaksRight);
            }
            for (; j < n; ++j)
                finish (mixed (0.0f, 2 * j), mixed (0.0f, 2 * j + 1), blockStart + j, peakLeft, peakRight);
        }
    }

    float lanes[4];
    peaksLeft.store (lanes);
    for (const auto peak : lanes)
        peakLeft = juce::jmax (peakLeft, peak);
    peaksRight.store (lanes);
    for (const auto peak : lanes)
        peakRight = juce::jmax (peakRight, peak);

    feedMeters (outLeft, outRight, numSamples, peakLeft, peakRight);
    forceParameterUpdate = false;
}

void QexTidewellAudioProcessor::controlTick()
{
    // The plain loads spare the locked exchanges at the ticks where nothing is waiting, which
    // are most of them.
    if (jumpPending.load (std::memory_order_relaxed) && jumpPending.exchange (false, std::memory_order_acquire))
        applyJump();

    if (pendingSlots.load (std::memory_order_relaxed) != 0)
    {
        const auto pending = pendingSlots.exchange (0, std::memory_order_acquire);
        for (size_t index = 0; index < slots.size(); ++index)
            if ((pending & slotBit (index)) != 0)
                slots[index].smoother->setTargetValue (pendingTargets[index].load (std::memory_order_relaxed));
        movingSlots |= pending;
    }

    if (modeChangePending.load (std::memory_order_relaxed)
        && modeChangePending.exchange (false, std::memory_order_acquire))
    {
        const auto mode = currentChorusMode.load (std::memory_order_relaxed);
        for (size_t k = 0; k < modeGainSmoothers.size(); ++k)
            modeGainSmoothers[k].setTargetValue (mode == (float) k ? 1.0f : 0.0f);
    }

    // A slot outside movingSlots has no ramp and its tick value equals its target, so stepping it
    // would change nothing.
    SlotMask changed = 0;
    for (auto moving = movingSlots; moving != 0; moving &= moving - 1)
    {
        const auto index = (size_t) lowestSetBit (moving);
        auto& slot = slots[index];
        const auto before = *slot.value;
        *slot.value = slot.smoother->getNextValue();
        if (*slot.value != before)
            changed |= slotBit (index);
        if (! slot.smoother->isSmoothing() && *slot.value == slot.smoother->getTargetValue())
            movingSlots &= ~slotBit (index);
    }

    for (size_t k = 0; k < modeGainSmoothers.size(); ++k)
    {
        modeGainValues[k] = modeGainSmoothers[k].getNextValue();

        // A mode runs while it is selected or while its gain still fades.
        const auto target = modeGainSmoothers[k].getTargetValue();
        engineRunning[k] = target == 1.0f || modeGainValues[k] != target;
    }

    if (forceParameterUpdate || (changed & slotBit (gain)) != 0)
        volumeGain = juce::Decibels::decibelsToGain (gainValue, -100.0f);

    if (forceParameterUpdate || changed != 0)
        pushControls (forceParameterUpdate ? ~SlotMask {} : changed);
}

bool QexTidewellAudioProcessor::controlTickChangesNothing() const
{
    if (forceParameterUpdate || movingSlots != 0 || pendingSlots.load (std::memory_order_relaxed) != 0
        || jumpPending.load (std::memory_order_relaxed) || modeChangePending.load (std::memory_order_relaxed))
        return false;

    for (size_t k = 0; k < modeGainSmoothers.size(); ++k)
        if (modeGainSmoothers[k].isSmoothing() || modeGainValues[k] != modeGainSmoothers[k].getTargetValue())
            return false;

    return true;
}

void QexTidewellAudioProcessor::pushControls (SlotMask changedSlots)
{
    const auto push = [changedSlots] (Slot slot, float value, auto&& setter)
    {
        if ((changedSlots & slotBit (slot)) != 0)
            setter (value);
    };

    push (spread, spreadValue, [this] (float v)
    {
        chorusSixty.setSpread (v);
        chorusStudio.setSpread (v);
        chorusEnsemble.setSpread (v);
        chorusQuad.setSpread (v);
    });

    push (sixtyRate, sixtyRateValue, [this] (float v) { chorusSixty.setRate (v); });
    push (sixtyDepth, sixtyDepthValue, [this] (float v) { chorusSixty.setDepth (v); });
    push (sixtyDelay, sixtyDelayValue, [this] (float v) { chorusSixty.setDelay (v); });
    push (sixtyWet, sixtyWetValue, [this] (float v) { chorusSixty.setWet (v); });
    push (sixtyHighpass, sixtyHighpassValue, [this] (float v) { chorusSixty.setHighpass (v); });
    push (sixtyTone, sixtyToneValue, [this] (float v) { chorusSixty.setLowpass (v); });

    push (studioRate, studioRateValue, [this] (float v) { chorusStudio.setRate (v); });
    push (studioDepth, studioDepthValue, [this] (float v) { chorusStudio.setDepth (v); });
    push (studioDelay, studioDelayValue, [this] (float v) { chorusStudio.setDelay (v); });
    push (studioWet, studioWetValue, [this] (float v) { chorusStudio.setWet (v); });
    push (studioHighpass, studioHighpassValue, [this] (float v) { chorusStudio.setHighpass (v); });
    push (studioTone, studioToneValue, [this] (float v) { chorusStudio.setLowpass (v); });

    push (ensembleRate, ensembleRateValue, [this] (float v) { chorusEnsemble.setRate (v); });
    push (ensembleDepth, ensembleDepthValue, [this] (float v) { chorusEnsemble.setDepth (v); });
    push (ensembleVibRate, ensembleVibRateValue, [this] (float v) { chorusEnsemble.setVibratoRate (v); });
    push (ensembleVibAmount, ensembleVibAmountValue, [this] (float v) { chorusEnsemble.setVibratoAmount (v); });
    push (ensembleDelay, ensembleDelayValue, [this] (float v) { chorusEnsemble.setDelay (v); });
    push (ensembleWet, ensembleWetValue, [this] (float v) { chorusEnsemble.setWet (v); });
    push (ensembleHighpass, ensembleHighpassValue, [this] (float v) { chorusEnsemble.setHighpass (v); });
    push (ensembleTone, ensembleToneValue, [this] (float v) { chorusEnsemble.setLowpass (v); });

    push (quadRate, quadRateValue, [this] (float v) { chorusQuad.setRate (v); });
    push (quadDepth, quadDepthValue, [this] (float v) { chorusQuad.setDepth (v); });
    push (quadVibRate, quadVibRateValue, [this] (float v) { chorusQuad.setVibratoRate (v); });
    push (quadVibAmount, quadVibAmountValue, [this] (float v) { chorusQuad.setVibratoAmount (v); });
    push (quadDelay, quadDelayValue, [this] (float v) { chorusQuad.setDelay (v); });
    push (quadWet, quadWetValue, [this] (float v) { chorusQuad.setWet (v); });
    push (quadHighpass, quadHighpassValue, [this] (float v) { chorusQuad.setHighpass (v); });
    push (quadTone, quadToneValue, [this] (float v) { chorusQuad.setLowpass (v); });
}

ChorusControls QexTidewellAudioProcessor::controlsFor (int mode) const
{
    switch (mode)
    {
        case 0: return { sixtyRateValue, sixtyDepthValue, 0.0f, 0.0f, sixtyDelayValue,
                         sixtyWetValue, sixtyHighpassValue, sixtyToneValue, spreadValue };
        case 1: return { studioRateValue, studioDepthValue, 0.0f, 0.0f, studioDelayValue,
                         studioWetValue, studioHighpassValue, studioToneValue, spreadValue };
        case 2: return { ensembleRateValue, ensembleDepthValue, ensembleVibRateValue, ensembleVibAmountValue,
                         ensembleDelayValue, ensembleWetValue, ensembleHighpassValue, ensembleToneValue, spreadValue };
        default: return { quadRateValue, quadDepthValue, quadVibRateValue, quadVibAmountValue,
                          quadDelayValue, quadWetValue, quadHighpassValue, quadToneValue, spreadValue };
    }
}

void QexTidewellAudioProcessor::feedMeters (const float* outLeft, const float* outRight, int numSamples,
                                            float peakLeft, float peakRight)
{
    // Raise, never lower: a reset by the reader between load and exchange is retried.
    const auto raise = [] (std::atomic<float>& peak, float value)
    {
        auto current = peak.load (std::memory_order_relaxed);
        while (value > current && ! peak.compare_exchange_weak (current, value, std::memory_order_relaxed))
        {
        }
    };
    raise (outputPeakLeft, peakLeft);
    raise (outputPeakRight, peakRight);

    if (meterFeedBusy.exchange (true, std::memory_order_acquire))
        return; // the reader is copying; this block's pairs are left out rather than waited for

    if (! phaseMeterSamplesReady.load (std::memory_order_relaxed))
        phaseMeterSamples.clear();

    // Capacity was reserved for this in prepareToPlay, so nothing is allocated here.
    if (phaseMeterSamples.size() < (size_t) maxPhaseMeterPairs)
        for (int i = 0; i < numSamples; ++i)
            phaseMeterSamples.emplace_back (outLeft[i], outRight[i]);

    phaseMeterSamplesReady.store (true, std::memory_order_relaxed);
    meterFeedBusy.store (false, std::memory_order_release);
}

bool QexTidewellAudioProcessor::takePhaseMeterSamples (std::vector<std::pair<double, double>>& destination)
{
    // While the audio thread writes the pairs, this tick shows what it showed; the set stays
    // ready for the next one.
    if (meterFeedBusy.exchange (true, std::memory_order_acquire))
        return false;

    const auto ready = phaseMeterSamplesReady.load (std::memory_order_relaxed);
    if (ready)
    {
        destination = phaseMeterSamples;
        phaseMeterSamplesReady.store (false, std::memory_order_relaxed);
    }

    meterFeedBusy.store (false, std::memory_order_release);
    return ready;
}

float QexTidewellAudioProcessor::takeOutputPeak (bool right)
{
    return (right ? outputPeakRight : outputPeakLeft).exchange (0.0f, std::memory_order_relaxed);
}

double QexTidewellAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool QexTidewellAudioProcessor::acceptsMidi() const { return false; }
bool QexTidewellAudioProcessor::producesMidi() const { return false; }
bool QexTidewellAudioProcessor::isMidiEffect() const { return false; }

juce::AudioProcessorEditor* QexTidewellAudioProcessor::createEditor()
{
    return new QexTidewellAudioProcessorEditor (*this);
}

bool QexTidewellAudioProcessor::hasEditor() const { return true; }

int QexTidewellAudioProcessor::getNumPrograms() { return 1; }
int QexTidewellAudioProcessor::getCurrentProgram() { return 0; }
void QexTidewellAudioProcessor::setCurrentProgram (int) {}
const juce::String QexTidewellAudioProcessor::getProgramName (int) { return {}; }
void QexTidewellAudioProcessor::changeProgramName (int, const juce::String&) {}

//==============================================================================
void QexTidewellAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const auto state = parameters.copyState();

    if (const auto xml = state.createXml())
        copyXmlToBinary (*xml, destData);
}

void QexTidewellAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    if (const auto xml = StateXml::fromBinary (data, sizeInBytes))
        if (xml->getTagName().equalsIgnoreCase (parameters.state.getType().toString()))
            StateXml::replaceParameters (parameters, juce::ValueTree::fromXml (*xml));

    resetSmootherValues();
    sendActionMessage ("StateInformationSet");
}

void QexTidewellAudioProcessor::parameterChanged (const juce::String& parameterID, float newValue)
{
    for (size_t index = 0; index < slots.size(); ++index)
    {
        if (parameterID != slots[index].parameterId)
            continue;

        if (index == bypass)
        {
            isBypassed.store (slots[index].parameterValue->load() != 0.0f);
            newValue = isBypassed.load() ? 1.0f : 0.0f;
        }

        pendingTargets[index].store (newValue, std::memory_order_relaxed);
        pendingSlots.fetch_or (slotBit (index), std::memory_order_release);
        return;
    }

    if (parameterID == "paramChorusMode")
    {
        currentChorusMode.store (newValue, std::memory_order_relaxed);
        modeChangePending.store (true, std::memory_order_release);
    }
}

void QexTidewellAudioProcessor::resetSmootherValues()
{
    // Made by the audio thread at its next control tick, so that current value, target and
    // tick value change together and never under its feet.
    jumpPending.store (true, std::memory_order_release);
}

void QexTidewellAudioProcessor::applyJump()
{
    forceParameterUpdate = true;
    movingSlots = allSlots;

    for (size_t index = 0; index < slots.size(); ++index)
    {
        auto& slot = slots[index];

        if (index == bypass)
        {
            // Its tick value follows at the next control tick.
            slot.smoother->setCurrentAndTargetValue (isBypassed.load() ? 1.0f : 0.0f);
            continue;
        }

        const auto value = slot.parameterValue->load();
        slot.smoother->setCurrentAndTargetValue (value);
        *slot.value = value;
    }

    const auto mode = currentChorusMode.load();
    for (size_t k = 0; k < modeGainSmoothers.size(); ++k)
    {
        const auto gainOfMode = mode == (float) k ? 1.0f : 0.0f;
        modeGainSmoothers[k].setCurrentAndTargetValue (gainOfMode);
        modeGainValues[k] = gainOfMode;
    }
}

bool QexTidewellAudioProcessor::loadPreset (juce::String path)
{
    if (! PresetFile::apply (parameters, settingsTree, pluginName, path))
        return false;

    sendActionMessage ("PresetLoaded");
    return true;
}

bool QexTidewellAudioProcessor::savePreset (const juce::String& chosenPath)
{
    if (! PresetFile::write (parameters, pluginName, chosenPath))
        return false;

    sendActionMessage ("PresetSaved");
    return true;
}

//==============================================================================
void QexTidewellAudioProcessor::loadSettings()
{
    // The file is shared by every instance: what cannot be read safely leaves the defaults.
    const auto xml = StateXml::readFile (juce::File (dataFolder).getChildFile ("settings.xml"));
    if (xml == nullptr)
        return;

    // Any root tag loads; the tree keeps its own type, and keys nobody reads survive saves.
    juce::ValueTree loaded (settingsTree.getType());
    loaded.copyPropertiesAndChildrenFrom (juce::ValueTree::fromXml (*xml), nullptr);

    // Once saved, with the settings the plug-in writes itself added, the file must still load;
    // one that would not is refused now rather than lost at the next save.
    const auto numDefaults = (int) std::size (defaultSettings);
    if (! StateXml::readsBack (loaded, juce::XmlElement::TextFormat(), numDefaults, numDefaults * maxSettingBytes))
        return;

    settingsTree.copyPropertiesAndChildrenFrom (loaded, nullptr);
    sendActionMessage ("SettingsLoaded");
}

bool QexTidewellAudioProcessor::saveSettings()
{
    const auto xml = settingsTree.createXml();
    return xml != nullptr && xml->writeTo (juce::File (dataFolder).getChildFile ("settings.xml"));
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new QexTidewellAudioProcessor();
}
