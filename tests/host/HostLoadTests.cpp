#include "HostedPlugin.h"

#include <gtest/gtest.h>

namespace
{
const char* const parameterNames[] = {
    "Mode",
    "Sixty Rate",
    "Sixty Depth",
    "Sixty Delay",
    "Sixty Wet",
    "Sixty Highpass",
    "Sixty Lowpass",
    "Studio Rate",
    "Studio Depth",
    "Studio Delay",
    "Studio Wet",
    "Studio Highpass",
    "Studio Lowpass",
    "Ensemble Rate",
    "Ensemble Depth",
    "Ensemble Vibrato Rate",
    "Ensemble Vibrato Amount",
    "Ensemble Delay",
    "Ensemble Wet",
    "Ensemble Highpass",
    "Ensemble Lowpass",
    "Quad Rate",
    "Quad Depth",
    "Quad Vibrato Rate",
    "Quad Vibrato Amount",
    "Quad Delay",
    "Quad Wet",
    "Quad Highpass",
    "Quad Lowpass",
    "Bypass",
    "Spread",
    "Volume",
};

juce::StringArray namesOf (const juce::Array<juce::AudioProcessorParameter*>& params)
{
    juce::StringArray names;
    for (auto* p : params)
        names.add (p->getName (100));
    return names;
}

void expectWhatEveryHostSees (juce::AudioPluginInstance& plugin)
{
    EXPECT_EQ (plugin.getName(), "QEX Tidewell");
    EXPECT_EQ (plugin.getLatencySamples(), 0);
    EXPECT_EQ (plugin.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (plugin.acceptsMidi());
    EXPECT_FALSE (plugin.producesMidi());

    EXPECT_EQ (plugin.getTotalNumInputChannels(), 2);
    EXPECT_EQ (plugin.getTotalNumOutputChannels(), 2);

    juce::MemoryBlock state;
    plugin.getStateInformation (state);
    EXPECT_GT (state.getSize(), 0u);
    plugin.setStateInformation (state.getData(), (int) state.getSize());
    plugin.setStateInformation (nullptr, 0);
    plugin.setStateInformation ("garbage", 7);
}
} // namespace

TEST (HostedVst3, showsTheNameParametersLayoutsAndTexts)
{
    auto plugin = HostedPlugin::loadVst3();
    ASSERT_NE (plugin, nullptr);
    expectWhatEveryHostSees (*plugin);

    ASSERT_NE (plugin->getBypassParameter(), nullptr) << "the wrapper adds its own bypass";
    EXPECT_EQ (plugin->getParameters().getLast(), plugin->getBypassParameter());
    EXPECT_EQ (namesOf (HostedPlugin::ownParameters (*plugin)), juce::StringArray (parameterNames, 32));

    const auto mono = juce::AudioChannelSet::mono();
    const auto stereo = juce::AudioChannelSet::stereo();
    for (const auto& [in, out] : { std::pair { stereo, stereo }, std::pair { mono, stereo }, std::pair { mono, mono } })
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (in);
        layout.outputBuses.add (out);
        EXPECT_TRUE (plugin->checkBusesLayoutSupported (layout))
            << in.getDescription() << " to " << out.getDescription();
    }

    const std::pair<const char*, const char*> defaults[] = {
        { "Sixty Rate", "0.86Hz" },   { "Sixty Depth", "3.99ms" },   { "Sixty Wet", "50%" },
        { "Sixty Highpass", "20Hz" }, { "Sixty Lowpass", "4.0kHz" }, { "Mode", "Sixty" },
        { "Bypass", "Active" },       { "Spread", "100%" },          { "Volume", "0.0dB" },
    };
    for (const auto& [name, text] : defaults)
    {
        auto* p = HostedPlugin::findParameter (*plugin, name);
        ASSERT_NE (p, nullptr) << name;
        EXPECT_EQ (p->getCurrentValueAsText(), text) << name;
    }

    auto* rate = HostedPlugin::findParameter (*plugin, "Sixty Rate");
    const auto normalised = rate->getValueForText ("5.00Hz");
    EXPECT_EQ (rate->getText (normalised, 100), "5.00Hz");
    EXPECT_NEAR (normalised, (5.0f - 0.1f) / (6.0f - 0.1f), 1.0e-4f);
}

TEST (HostedLv2, showsTheNameParametersAndLayouts)
{
    auto plugin = HostedPlugin::loadLv2();
    ASSERT_NE (plugin, nullptr);
    expectWhatEveryHostSees (*plugin);

    // LV2 ports are fixed, so the bundle is always stereo; its host lists the ports in its
    // own order with the wrapper's "Bypass" among them.
    auto names = namesOf (plugin->getParameters());
    ASSERT_EQ (names.size(), 33);
    auto expected = juce::StringArray (parameterNames, 32);
    expected.add ("Bypass");
    names.sort (false);
    expected.sort (false);
    EXPECT_EQ (names, expected);
}

TEST (BuiltBundles, eachFormatCarriesTheFontLicencesAndNotice)
{
    const juce::File sources (TIDEWELL_FONT_LICENCES_DIR);
    const auto texts = sources.findChildFiles (juce::File::findFiles, false, "*.txt");
    ASSERT_TRUE (sources.getChildFile ("NOTICE.txt").existsAsFile());
    ASSERT_GE (texts.size(), 2) << "a notice and at least one licence";

    const juce::File vst3Binary (TIDEWELL_VST3_BINARY_DIR);
    const std::pair<const char*, juce::File> places[] = {
        { "VST3", vst3Binary.getSiblingFile ("Resources") },
        { "LV2", juce::File (TIDEWELL_LV2_BUNDLE) },
        { "Standalone", juce::File (TIDEWELL_STANDALONE_DIR) },
    };

    for (const auto& [format, folder] : places)
        for (const auto& text : texts)
        {
            const auto copy = folder.getChildFile (text.getFileName());
            EXPECT_TRUE (copy.existsAsFile()) << format << ": " << copy.getFullPathName();
            EXPECT_EQ (copy.loadFileAsString(), text.loadFileAsString()) << format << ": " << text.getFileName();
        }
}
