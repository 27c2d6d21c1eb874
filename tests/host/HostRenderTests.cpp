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

float rms (const juce::AudioBuffer<float>& b) { return (b.getRMSLevel (0, 0, b.getNumSamples()) + b.getRMSLevel (1, 0, b.getNumSamples())) * 0.5f; }

void expectChorusBypassAndVolume (juce::AudioPluginInstance& plugin)
{
    plugin.enableAllBuses();
    plugin.prepareToPlay (48000.0, 512);
    const auto input = noise (48000);

    for (int mode = 0; mode < 4; ++mode)
    {
        HostedPlugin::setParameter (plugin, "Mode", (float) mode, 0.0f, 3.0f);
        const auto output = render (plugin, input);

        bool finite = true;
        float difference = 0.0f;
        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < output.getNumSamples(); ++i)
            {
                finite = finite && std::isfinite (output.getSample (channel, i));
                difference = juce::jmax (difference, std::abs (output.getSample (channel, i) - input.getSample (channel, i)));
            }
        EXPECT_TRUE (finite) << "mode " << mode;
        EXPECT_GT (difference, 0.01f) << "mode " << mode << " with Wet above 0 changes the sound";
    }

    const auto atUnity = render (plugin, input);
    HostedPlugin::setParameter (plugin, "Volume", -12.0f, -12.0f, 12.0f);
    const auto quieter = render (plugin, input);
    EXPECT_NEAR (juce::Decibels::gainToDecibels (rms (quieter) / rms (atUnity)), -12.0f, 0.5f);

    HostedPlugin::setParameter (plugin, "Bypass", 1.0f, 0.0f, 1.0f);
    const auto bypassed = render (plugin, input);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < bypassed.getNumSamples(); ++i)
            ASSERT_EQ (bypassed.getSample (channel, i), input.getSample (channel, i)) << "bypass gives the input exactly";
}
/** A host that sends NaN for the controls that drive the oscillators, the mix and the volume:
    the plug-in keeps their values, renders finite audio, and saves what it had, which a fresh
    instance, when given, restores. */
void expectNaNFromTheHostChangesNothing (juce::AudioPluginInstance& plugin, juce::AudioPluginInstance* fresh)
{
    plugin.enableAllBuses();
    plugin.prepareToPlay (48000.0, 512);
    const auto input = noise (48000);

    HostedPlugin::setParameter (plugin, "Mode", 3.0f, 0.0f, 3.0f);
    HostedPlugin::setParameter (plugin, "Volume", -6.0f, -12.0f, 12.0f);
    const auto expected = render (plugin, input);
    const auto before = HostedPlugin::ownParameters (plugin);
    std::vector<float> values;
    for (auto* p : before)
        values.push_back (p->getValue());

    for (const auto* name : { "Quad Rate", "Quad Vibrato Rate", "Quad Wet", "Ensemble Vibrato Rate", "Volume", "Spread" })
        HostedPlugin::findParameter (plugin, name)->setValueNotifyingHost (std::numeric_limits<float>::quiet_NaN());

    const auto output = render (plugin, input);
    bool finite = true;
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < output.getNumSamples(); ++i)
            finite = finite && std::isfinite (output.getSample (channel, i));
    EXPECT_TRUE (finite);
    EXPECT_NEAR (rms (output), rms (expected), rms (expected) * 0.1f) << "neither silenced nor louder";

    if (fresh == nullptr)
        return;

    juce::MemoryBlock state;
    plugin.getStateInformation (state);
    fresh->setStateInformation (state.getData(), (int) state.getSize());
    const auto restored = HostedPlugin::ownParameters (*fresh);
    ASSERT_EQ (restored.size(), (int) values.size());
    for (int i = 0; i < restored.size(); ++i)
        EXPECT_NEAR (restored[i]->getValue(), values[(size_t) i], 1.0e-6f) << restored[i]->getName (100);
}
} // namespace

TEST (HostedVst3, aValueThatIsNotANumberFromTheHostChangesNothing)
{
    auto plugin = HostedPlugin::loadVst3();
    auto fresh = HostedPlugin::loadVst3();
    ASSERT_NE (plugin, nullptr);
    ASSERT_NE (fresh, nullptr);
    expectNaNFromTheHostChangesNothing (*plugin, fresh.get());
}

TEST (HostedLv2, aValueThatIsNotANumberFromTheHostChangesNothing)
{
    auto plugin = HostedPlugin::loadLv2();
    ASSERT_NE (plugin, nullptr);

    // The LV2 host does not read parameter values back from a restored state.
    expectNaNFromTheHostChangesNothing (*plugin, nullptr);
}

TEST (HostedVst3, rendersEveryModeAppliesVolumeAndBypassesExactly)
{
    auto plugin = HostedPlugin::loadVst3();
    ASSERT_NE (plugin, nullptr);
    expectChorusBypassAndVolume (*plugin);
}

TEST (HostedLv2, rendersEveryModeAppliesVolumeAndBypassesExactly)
{
    auto plugin = HostedPlugin::loadLv2();
    ASSERT_NE (plugin, nullptr);
    expectChorusBypassAndVolume (*plugin);
}

TEST (HostedVst3, aSavedStateRestoresIntoAFreshInstance)
{
    auto first = HostedPlugin::loadVst3();
    ASSERT_NE (first, nullptr);
    HostedPlugin::setParameter (*first, "Mode", 2.0f, 0.0f, 3.0f);
    HostedPlugin::setParameter (*first, "Volume", -6.0f, -12.0f, 12.0f);
    HostedPlugin::findParameter (*first, "Ensemble Depth")->setValueNotifyingHost (0.75f);

    juce::MemoryBlock state;
    first->getStateInformation (state);

    auto second = HostedPlugin::loadVst3();
    ASSERT_NE (second, nullptr);
    second->setStateInformation (state.getData(), (int) state.getSize());

    const auto firstParams = HostedPlugin::ownParameters (*first);
    const auto secondParams = HostedPlugin::ownParameters (*second);
    ASSERT_EQ (firstParams.size(), secondParams.size());
    for (int i = 0; i < firstParams.size(); ++i)
        EXPECT_EQ (secondParams[i]->getCurrentValueAsText(), firstParams[i]->getCurrentValueAsText())
            << firstParams[i]->getName (100);
    EXPECT_EQ (HostedPlugin::findParameter (*second, "Mode")->getCurrentValueAsText(), "Ensemble");
}
