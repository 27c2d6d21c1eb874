#include "HostedPlugin.h"

#include <gtest/gtest.h>

namespace HostedPlugin
{
namespace
{
std::unique_ptr<juce::AudioPluginInstance> instantiate (juce::AudioPluginFormat& format,
                                                        const juce::String& fileOrIdentifier)
{
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, fileOrIdentifier);

    if (found.isEmpty())
    {
        ADD_FAILURE() << "no plug-in found at " << fileOrIdentifier;
        return {};
    }

    juce::String error;
    auto instance = format.createInstanceFromDescription (*found[0], 48000.0, 512, error);
    EXPECT_NE (instance, nullptr) << error;
    return instance;
}
} // namespace

std::unique_ptr<juce::AudioPluginInstance> loadVst3()
{
    // The binary lies in Contents/<architecture> inside the bundle.
    const auto bundle = juce::File (TIDEWELL_VST3_BINARY_DIR).getParentDirectory().getParentDirectory();

    juce::VST3PluginFormat format;
    return instantiate (format, bundle.getFullPathName());
}

std::unique_ptr<juce::AudioPluginInstance> loadLv2()
{
    // The LV2 host finds a plug-in by its URI among the bundles of the folders it has searched.
    const auto bundle = juce::File (TIDEWELL_LV2_BUNDLE);

    juce::LV2PluginFormat format;
    format.searchPathsForPlugins (juce::FileSearchPath (bundle.getParentDirectory().getFullPathName()), false, false);
    return instantiate (format, TIDEWELL_LV2_URI);
}

juce::Array<juce::AudioProcessorParameter*> ownParameters (juce::AudioPluginInstance& instance)
{
    juce::Array<juce::AudioProcessorParameter*> result;

    for (auto* p : instance.getParameters())
    {
        // The wrapper's own bypass: known to the VST3 host, and named by its identifier in LV2.
        const auto* hosted = dynamic_cast<juce::HostedAudioProcessorParameter*> (p);
        const auto isWrapperBypass = p == instance.getBypassParameter()
                                     || (hosted != nullptr && p->getName (100) == "Bypass"
                                         && ! hosted->getParameterID().contains ("paramBypassGlobal")
                                         && hosted->getParameterID().contains ("/"));
        if (! isWrapperBypass)
            result.add (p);
    }

    return result;
}

void setParameter (juce::AudioPluginInstance& instance, const juce::String& name, float value, float min, float max)
{
    auto* p = findParameter (instance, name);
    ASSERT_NE (p, nullptr) << name;
    p->setValueNotifyingHost ((value - min) / (max - min));
}

juce::AudioProcessorParameter* findParameter (juce::AudioPluginInstance& instance, const juce::String& name)
{
    for (auto* p : ownParameters (instance))
        if (p->getName (100) == name)
            return p;

    return nullptr;
}
} // namespace HostedPlugin
