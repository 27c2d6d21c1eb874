#include "FuzzedProcessor.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

// The audio path under a hostile host: the bytes are a script of steps that set parameters to
// any normalised value (NaN and infinities included) or to the value of any text, restore state
// bytes, load preset bytes, prepare again, and render blocks of noise. Every rendered sample
// must be finite and every parameter stay in its range.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    auto& processor = fuzzedProcessor();
    const auto& parameters = processor.getParameters();
    FuzzedDataProvider input (data, size);

    constexpr int maxBlockSize = 512;
    const double sampleRates[] { 22050.0, 44100.0, 48000.0, 96000.0, 192000.0 };
    const auto prepare = [&] (double sampleRate, int blockSize)
    {
        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);
    };

    static const auto prepared = (prepare (48000.0, maxBlockSize), true);
    juce::ignoreUnused (prepared);

    juce::AudioBuffer<float> buffer (2, 2 * maxBlockSize);
    juce::MidiBuffer midi;
    juce::Random noise (input.ConsumeIntegral<juce::int64>());
    const auto presetFile = juce::File (processor.userPresetFolder).getChildFile ("fuzzed.qexp");

    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step)
    {
        auto* parameter = parameters[input.ConsumeIntegralInRange<int> (0, parameters.size() - 1)];

        switch (input.ConsumeIntegralInRange<int> (0, 5))
        {
            case 0:
            {
                // Any bit pattern: NaN, infinities, values past 0 and 1.
                const auto bits = input.ConsumeIntegral<uint32_t>();
                float value;
                std::memcpy (&value, &bits, sizeof (value));
                parameter->setValueNotifyingHost (value);
                break;
            }
            case 1:
            {
                const auto text = input.ConsumeRandomLengthString (24);
                parameter->setValueNotifyingHost (
                    parameter->getValueForText (textFrom ((const uint8_t*) text.data(), text.size())));
                break;
            }
            case 2:
            {
                const auto bytes = input.ConsumeBytes<char> (input.ConsumeIntegralInRange<size_t> (0, 4096));
                processor.setStateInformation (bytes.data(), (int) bytes.size());
                break;
            }
            case 3:
            {
                const auto bytes = input.ConsumeBytes<char> (input.ConsumeIntegralInRange<size_t> (0, 4096));
                presetFile.replaceWithData (bytes.data(), bytes.size());
                processor.loadPreset (presetFile.getFullPathName());
                break;
            }
            case 4:
                prepare (sampleRates[input.ConsumeIntegralInRange<int> (0, 4)],
                         input.ConsumeIntegralInRange<int> (1, maxBlockSize));
                break;
            default:
            {
                // Up to twice the announced block size: longer blocks are processed in slices.
                juce::AudioBuffer<float> block (buffer.getArrayOfWritePointers(), 2, 0,
                                                input.ConsumeIntegralInRange<int> (0, 2 * maxBlockSize));
                for (int channel = 0; channel < 2; ++channel)
                    for (int i = 0; i < block.getNumSamples(); ++i)
                        block.setSample (channel, i, noise.nextFloat() * 2.0f - 1.0f);

                processor.processBlock (block, midi);

                for (int channel = 0; channel < 2; ++channel)
                    for (int i = 0; i < block.getNumSamples(); ++i)
                        if (! std::isfinite (block.getSample (channel, i)))
                            std::abort();
                break;
            }
        }

        requireParametersInRange (processor);
    }

    return 0;
}
