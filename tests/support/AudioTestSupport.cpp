#include "AudioTestSupport.h"

#include <limits>

void setParameter (QexTidewellAudioProcessor& processor, const juce::String& id, float value)
{
    auto* parameter = processor.parameters.getParameter (id);
    jassert (parameter != nullptr);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

void prepareToPlay (juce::AudioProcessor& processor, double sampleRate, int blockSize)
{
    processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);
}

bool setLayout (juce::AudioProcessor& processor, int inputChannels, int outputChannels)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (inputChannels));
    layout.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (outputChannels));
    return processor.setBusesLayout (layout);
}

juce::MemoryBlock stateOf (juce::AudioProcessor& processor)
{
    juce::MemoryBlock state;
    processor.getStateInformation (state);
    return state;
}

void restoreState (juce::AudioProcessor& processor, const juce::MemoryBlock& state)
{
    processor.setStateInformation (state.getData(), (int) state.getSize());
}

juce::AudioBuffer<float> makeNoise (int numChannels, int numSamples, int seed)
{
    juce::Random random (seed);
    juce::AudioBuffer<float> buffer (numChannels, numSamples);

    for (int channel = 0; channel < numChannels; ++channel)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample (channel, i, random.nextFloat() - 0.5f);

    return buffer;
}

void processInBlocks (QexTidewellAudioProcessor& processor, juce::AudioBuffer<float>& buffer, int blockSize)
{
    juce::MidiBuffer midi;

    for (int start = 0; start < buffer.getNumSamples(); start += blockSize)
    {
        const auto length = juce::jmin (blockSize, buffer.getNumSamples() - start);
        juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), buffer.getNumChannels(), start, length);
        processor.processBlock (block, midi);
    }
}

float maxDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    jassert (a.getNumChannels() == b.getNumChannels() && a.getNumSamples() == b.getNumSamples());
    auto largest = 0.0f;

    for (int channel = 0; channel < a.getNumChannels(); ++channel)
        for (int i = 0; i < a.getNumSamples(); ++i)
        {
            const auto difference = std::abs (a.getSample (channel, i) - b.getSample (channel, i));
            if (! std::isfinite (difference))
                return std::numeric_limits<float>::infinity();
            largest = juce::jmax (largest, difference);
        }

    return largest;
}
