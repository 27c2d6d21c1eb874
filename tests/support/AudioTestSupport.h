#pragma once

#include "processor/PluginProcessor.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** Sets a parameter as the host would, in its own units. */
void setParameter (QexTidewellAudioProcessor& processor, const juce::String& id, float value);

/** A buffer of reproducible noise in [-0.5, 0.5). */
juce::AudioBuffer<float> makeNoise (int numChannels, int numSamples, int seed = 1);

/** Runs the buffer through processBlock in blocks of the given size, in place. */
void processInBlocks (QexTidewellAudioProcessor& processor, juce::AudioBuffer<float>& buffer, int blockSize);

/** Largest absolute difference between two buffers of the same shape. */
float maxDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b);
