#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Loads the built plug-in bundles the way a host does. */
namespace HostedPlugin
{
/** An instance of the built bundle; null, with the failure recorded, when it does not load. */
std::unique_ptr<juce::AudioPluginInstance> loadVst3();
std::unique_ptr<juce::AudioPluginInstance> loadLv2();

/** The plug-in's own parameters, without the bypass parameter that the format wrappers add. */
juce::Array<juce::AudioProcessorParameter*> ownParameters (juce::AudioPluginInstance& instance);

/** The hosted parameter with the given display name among the plug-in's own parameters. */
juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name);

/** Sets one of the plug-in's parameters, given by display name, to a value in its own linear
    range (the formats agree on the normalisation of linear ranges). */
void setParameter (juce::AudioPluginInstance& instance, const juce::String& name, float value, float min, float max);
} // namespace HostedPlugin
