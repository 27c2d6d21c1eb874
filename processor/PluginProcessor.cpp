#include "PluginProcessor.h"

#include "ParamValueConverter.h"
#include "PresetFile.h"
#include "ProductDataFolder.h"
#include "StateXml.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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
    { return (float) text.dropLastCharacters (numCharacters).getDoubleValue(); };
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
{ return (float) (text.dropLastCharacters (1).getDoubleValue() * 0.01); };

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
const juce::Identifier valueProperty { "value" };
} // namespace

//==============================================================================
QexTidewellAudioProcessor::QexTidewellAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, nullptr, "PARAMETERS", createParameterLayout())
{
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
        layout.add (std::make_unique<juce::AudioParameterFloat> (
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

void QexTidewellAudioProcessor::prepareToPlay (double, int samplesPerBlock)
{
    dryBuffer.setSize (getTotalNumInputChannels(), samplesPerBlock);
}

void QexTidewellAudioProcessor::releaseResources() {}

void QexTidewellAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    for (auto channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        buffer.clear (channel, 0, buffer.getNumSamples());
}

double QexTidewellAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool QexTidewellAudioProcessor::acceptsMidi() const { return false; }
bool QexTidewellAudioProcessor::producesMidi() const { return false; }
bool QexTidewellAudioProcessor::isMidiEffect() const { return false; }

juce::AudioProcessorEditor* QexTidewellAudioProcessor::createEditor()
{
    return new juce::GenericAudioProcessorEditor (*this);
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

void QexTidewellAudioProcessor::parameterChanged (const juce::String&, float) {}

void QexTidewellAudioProcessor::resetSmootherValues()
{
    forceParameterUpdate = true;
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
    const auto file = juce::File (dataFolder).getChildFile ("settings.xml");

    if (! file.existsAsFile())
        return;

    const auto xml = juce::parseXML (file);
    if (xml == nullptr)
        return;

    // Any root tag loads; the tree keeps its own type, and keys nobody reads survive saves.
    settingsTree.copyPropertiesAndChildrenFrom (juce::ValueTree::fromXml (*xml), nullptr);
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
