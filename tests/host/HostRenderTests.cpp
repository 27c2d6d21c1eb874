#include "HostedPlugin.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace
{
juce::AudioBuffer<float> noise (int numSamples)
{
    juce::Random random (5);
    juce::AudioBuffer<float> buffer (2, numSamples);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample (channel, i, random.nextFloat() - 0.5f);
    return buffer;
}

/** Renders one second of noise in blocks of 512, after half a second to let ramps settle. */
juce::AudioBuffer<float> render (juce::AudioPluginInstance& plugin, const juce::AudioBuffer<float>& input)
{
    juce::MidiBuffer midi;
    juce::AudioBuffer<float> settle (2, 512);
    for (int i = 0; i < 48; ++i)
    {
        settle.clear();
        plugin.processBlock (settle, midi);
    }

    auto output = input;
    for (int start = 0; start < output.getNumSamples(); start += 512)
    {
        const auto length = juce::jmin (512, output.getNumSamples() - start);
        juce::AudioBuffer<float> block (output.getArrayOfWritePointers(), 2, start, length);
        plugin.processBlock (block, midi);
    }
    return output;
}

float rms (const juce::AudioBuffer<float>& b)
{
    return (b.getRMSLevel (0, 0, b.getNumSamples()) + b.getRMSLevel (1, 0, b.getNumSamples())) * 0.5f;
}

/** The largest difference from the input; infinite when the output holds a value that is not finite. */
float largestChange (const juce::AudioBuffer<float>& output, const juce::AudioBuffer<float>& input)
{
    auto largest = 0.0f;
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < output.getNumSamples(); ++i)
        {
            const auto sample = output.getSample (channel, i);
            if (! std::isfinite (sample))
                return std::numeric_limits<float>::infinity();
            largest = juce::jmax (largest, std::abs (sample - input.getSample (channel, i)));
        }
    return largest;
}

std::vector<float> valuesOf (juce::AudioPluginInstance& plugin)
{
    std::vector<float> values;
    for (auto* p : HostedPlugin::ownParameters (plugin))
        values.push_back (p->getValue());
    return values;
}

/** Every mode changes the sound, Volume and Bypass act on it; then the host sends NaN for the
    controls that drive the oscillators, the mix and the volume, and the plug-in keeps their
    values, renders finite audio and saves what it had, which a fresh instance, when given,
    restores. */
void expectRenderingAsAHostHearsIt (juce::AudioPluginInstance& plugin, juce::AudioPluginInstance* fresh)
{
    plugin.enableAllBuses();
    plugin.prepareToPlay (48000.0, 512);
    const auto input = noise (48000);

    for (int mode = 0; mode < 4; ++mode)
    {
        HostedPlugin::setParameter (plugin, "Mode", (float) mode, 0.0f, 3.0f);
        const auto change = largestChange (render (plugin, input), input);
        EXPECT_TRUE (std::isfinite (change)) << "mode " << mode;
        EXPECT_GT (change, 0.01f) << "mode " << mode << " with Wet above 0 changes the sound";
    }

    const auto atUnity = render (plugin, input);
    HostedPlugin::setParameter (plugin, "Volume", -6.0f, -12.0f, 12.0f);
    HostedPlugin::setParameter (plugin, "Ensemble Depth", 7.0f, 0.1f, 10.0f);
    const auto quieter = render (plugin, input);
    EXPECT_NEAR (juce::Decibels::gainToDecibels (rms (quieter) / rms (atUnity)), -6.0f, 0.5f);

    HostedPlugin::setParameter (plugin, "Bypass", 1.0f, 0.0f, 1.0f);
    EXPECT_EQ (largestChange (render (plugin, input), input), 0.0f) << "bypass gives the input exactly";
    HostedPlugin::setParameter (plugin, "Bypass", 0.0f, 0.0f, 1.0f);

    const auto values = valuesOf (plugin);
    for (const auto* name :
         { "Quad Rate", "Quad Vibrato Rate", "Quad Wet", "Ensemble Vibrato Rate", "Volume", "Spread" })
        HostedPlugin::findParameter (plugin, name)->setValueNotifyingHost (std::numeric_limits<float>::quiet_NaN());

    const auto afterNaN = render (plugin, input);
    EXPECT_TRUE (std::isfinite (largestChange (afterNaN, input))) << "after NaN from the host";
    EXPECT_NEAR (rms (afterNaN), rms (quieter), rms (quieter) * 0.1f) << "neither silenced nor louder";

    if (fresh == nullptr)
        return;

    juce::MemoryBlock state;
    plugin.getStateInformation (state);
    fresh->setStateInformation (state.getData(), (int) state.getSize());
    const auto restored = HostedPlugin::ownParameters (*fresh);
    ASSERT_EQ (restored.size(), (int) values.size());
    for (int i = 0; i < restored.size(); ++i)
        EXPECT_NEAR (restored[i]->getValue(), values[(size_t) i], 1.0e-6f) << restored[i]->getName (100);
    EXPECT_EQ (HostedPlugin::findParameter (*fresh, "Mode")->getCurrentValueAsText(), "Quad");
}
} // namespace

TEST (HostedVst3, soundsEveryModeBypassesExactlyAndNaNFromTheHostChangesNeitherTheSoundNorTheRestoredState)
{
    auto plugin = HostedPlugin::loadVst3();
    auto fresh = HostedPlugin::loadVst3();
    ASSERT_NE (plugin, nullptr);
    ASSERT_NE (fresh, nullptr);
    expectRenderingAsAHostHearsIt (*plugin, fresh.get());
}

TEST (HostedLv2, soundsEveryModeBypassesExactlyAndNaNFromTheHostChangesNothing)
{
    auto plugin = HostedPlugin::loadLv2();
    ASSERT_NE (plugin, nullptr);

    // The LV2 host does not read parameter values back from a restored state.
    expectRenderingAsAHostHearsIt (*plugin, nullptr);
}
