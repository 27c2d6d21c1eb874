#pragma once

#include "processor/PluginProcessor.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** Sets a parameter as the host would, in its own units. */
void setParameter (QexTidewellAudioProcessor& processor, const juce::String& id, float value);

/** Announces the sample rate and largest block, then prepares, as a host does. */
void prepareToPlay (juce::AudioProcessor& processor, double sampleRate, int blockSize);

/** Gives the processor one input and one output bus of the given channel counts; false if refused. */
bool setLayout (juce::AudioProcessor& processor, int inputChannels, int outputChannels);

/** The host's state bytes, and a restore from them. */
juce::MemoryBlock stateOf (juce::AudioProcessor& processor);
void restoreState (juce::AudioProcessor& processor, const juce::MemoryBlock& state);

/** A buffer of reproducible noise in [-0.5, 0.5). */
juce::AudioBuffer<float> makeNoise (int numChannels, int numSamples, int seed = 1);

/** Runs the buffer through processBlock in blocks of the given size, in place. */
void processInBlocks (QexTidewellAudioProcessor& processor, juce::AudioBuffer<float>& buffer, int blockSize);

/** Largest absolute difference between two buffers of the same shape; infinite when either holds a
    sample that is not finite, so that NaN output never passes for a match or for a small change. */
float maxDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b);
