#include "PluginProcessor.h"

#include "ProductDataFolder.h"
#include "StatusMessages.h"
#include "editor/PluginEditor.h"
#include "processor/params/ParameterSet.h"
#include "processor/state/StateXml.h"

#include <cmath>

//==============================================================================
QexTidewellAudioProcessor::QexTidewellAudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      parameters (*this, nullptr, "PARAMETERS", createParameterLayout()),
      dataFolder (productDataFolder().getFullPathName()),
      settings (juce::File (dataFolder).getChildFile ("settings.xml")),
      smoothing (parameters),
      mix (smoothing, meterFeed)
{
    // Failures are ignored: the paths stay valid, and whatever uses them fails on its own terms.
    const auto presets = juce::File (dataFolder).getChildFile ("Presets");
    presetFolder = presets.getFullPathName();
    presets.createDirectory();

    userPresetFolder = presets.getChildFile ("User").getFullPathName();
    juce::File (userPresetFolder).createDirectory();

    factoryPresetFolder = presets.getChildFile ("Factory").getFullPathName();
    juce::File (factoryPresetFolder).createDirectory();

    // A data folder whose path would not fit in a state that restores leaves the path empty.
    const juce::String initialPreset ("Init");
    if (! PresetFile::nameCurrentPreset (parameters, initialPreset,
                                         presetFolder + "/" + initialPreset + PresetFile::extension))
        PresetFile::nameCurrentPreset (parameters, initialPreset, {});

    loadSettings();

    for (size_t smoothed = 0; smoothed < ControlTable::numSmoothedControls; ++smoothed)
        parameters.addParameterListener (ControlTable::smoothedControlId (smoothed), this);
    parameters.addParameterListener (ControlTable::modeSelectorId(), this);
}

QexTidewellAudioProcessor::~QexTidewellAudioProcessor() = default;

juce::AudioProcessorValueTreeState::ParameterLayout QexTidewellAudioProcessor::createParameterLayout()
{
    return ParameterSet::createLayout();
}

//==============================================================================
const juce::String QexTidewellAudioProcessor::getName() const { return ProductInfo::name; }

void QexTidewellAudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    // A host that reports no usable rate or block size still gets a working processor.
    if (! (sampleRate > 0.0 && std::isfinite (sampleRate)))
        sampleRate = 44100.0;
    samplesPerBlock = juce::jmax (1, samplesPerBlock);

    // The audio thread is stopped while the host prepares, so the smoothers jump here directly and
    // the engines are prepared with the values they jumped to.
    smoothing.prepare (sampleRate);
    meterFeed.prepare (samplesPerBlock);
    mix.prepare (sampleRate, getTotalNumInputChannels(), getTotalNumOutputChannels(), samplesPerBlock);
}

void QexTidewellAudioProcessor::releaseResources() {}

void QexTidewellAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    const auto maxSlice = mix.maxSliceSize();
    if (maxSlice == 0)
        return; // not prepared: the input passes unchanged

    // A host that sends more than it announced is served in slices that fit the dry copy,
    // exactly as if it had sent the slices itself.
    for (int start = 0; start < buffer.getNumSamples(); start += maxSlice)
        mix.processSlice (buffer, start, juce::jmin (maxSlice, buffer.getNumSamples() - start),
                          getTotalNumInputChannels(), getTotalNumOutputChannels());
}

bool QexTidewellAudioProcessor::takePhaseMeterSamples (std::vector<std::pair<double, double>>& destination)
{
    return meterFeed.takePhaseMeterSamples (destination);
}

float QexTidewellAudioProcessor::takeOutputPeak (bool right) { return meterFeed.takeOutputPeak (right); }

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
    sendActionMessage (StatusMessages::stateInformationSet);
}

void QexTidewellAudioProcessor::parameterChanged (const juce::String& parameterID, float newValue)
{
    smoothing.parameterChanged (parameterID, newValue);
}

void QexTidewellAudioProcessor::resetSmootherValues() { smoothing.requestJump(); }

bool QexTidewellAudioProcessor::loadPreset (juce::String path)
{
    if (! PresetFile::apply (parameters, settings, pluginName, path))
        return false;

    sendActionMessage (StatusMessages::presetLoaded);
    return true;
}

bool QexTidewellAudioProcessor::savePreset (const juce::String& chosenPath)
{
    if (! PresetFile::write (parameters, pluginName, chosenPath))
        return false;

    sendActionMessage (StatusMessages::presetSaved);
    return true;
}

//==============================================================================
void QexTidewellAudioProcessor::loadSettings()
{
    if (settings.load())
        sendActionMessage (StatusMessages::settingsLoaded);
}

bool QexTidewellAudioProcessor::saveSettings() { return settings.save(); }

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter() { return new QexTidewellAudioProcessor(); }
