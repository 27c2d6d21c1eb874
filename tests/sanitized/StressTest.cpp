#include "support/TestSupport.h"

#include "processor/PluginProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// Built with ThreadSanitizer: the audio thread renders without pause while a host thread
// automates parameters and the message thread restores states, jumps the smoothers, changes
// parameters as the editor does and reads the meters.
TEST (ThreadStress, renderingStaysFiniteWhileEveryOtherThreadTouchesTheProcessor)
{
    ScopedDataHome home;
    QexTidewellAudioProcessor processor;
    constexpr int blockSize = 128;
    processor.setRateAndBufferSizeDetails (48000.0, blockSize);
    processor.prepareToPlay (48000.0, blockSize);

    juce::MemoryBlock initialState;
    processor.getStateInformation (initialState);

    const auto& params = processor.getParameters();
    std::atomic<bool> stop { false };
    std::atomic<bool> allFinite { true };
    std::atomic<int> blocksRendered { 0 };

    std::thread audio (
        [&]
        {
            juce::AudioBuffer<float> buffer (2, blockSize);
            juce::MidiBuffer midi;
            juce::Random random (1);

            while (! stop.load())
            {
                for (int channel = 0; channel < 2; ++channel)
                    for (int i = 0; i < blockSize; ++i)
                        buffer.setSample (channel, i, random.nextFloat() - 0.5f);

                juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), 2, 0, 1 + random.nextInt (blockSize));
                processor.processBlock (block, midi);

                for (int channel = 0; channel < 2; ++channel)
                    for (int i = 0; i < block.getNumSamples(); ++i)
                        if (! std::isfinite (block.getSample (channel, i)))
                            allFinite = false;

                ++blocksRendered;
            }
        });

    std::thread host (
        [&]
        {
            juce::Random random (2);
            while (! stop.load())
            {
                params[random.nextInt (params.size())]->setValueNotifyingHost (random.nextFloat());
                std::this_thread::yield();
            }
        });

    juce::Random random (3);
    std::vector<std::pair<double, double>> pairs;
    const auto end = juce::Time::getMillisecondCounter() + 4000;

    while (juce::Time::getMillisecondCounter() < end)
    {
        switch (random.nextInt (5))
        {
            case 0: processor.setStateInformation (initialState.getData(), (int) initialState.getSize()); break;
            case 1: processor.resetSmootherValues(); break;
            case 2: params[random.nextInt (params.size())]->setValueNotifyingHost (random.nextFloat()); break;
            case 3: processor.takePhaseMeterSamples (pairs); break;
            default: processor.takeOutputPeak (random.nextBool()); break;
        }
        pumpMessages (1);
    }

    stop = true;
    audio.join();
    host.join();

    EXPECT_TRUE (allFinite.load());
    EXPECT_GT (blocksRendered.load(), 100);
}
