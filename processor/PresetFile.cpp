#include "PresetFile.h"

#include "PluginProcessor.h"
#include "StateXml.h"

#include <array>

const juce::String PresetFile::extension { ".qexp" };

namespace
{
const juce::Identifier idAttribute { "id" };
const juce::Identifier valueAttribute { "value" };
const juce::Identifier pluginNameAttribute { "pluginName" };

const juce::String modeId { "paramChorusMode" };
const juce::String bypassId { "paramBypassGlobal" };

struct ModeGroup
{
    /** The mode parameter's value as the tree writes it when this mode is selected. */
    const char* modeValueText;
    juce::StringArray parameterIds;
};

const std::array<ModeGroup, 4>& modeGroups()
{
    static const std::array<ModeGroup, 4> groups { {
        { "0.0",
          { "paramSixtyRate", "paramSixtyDepth", "paramSixtyDelay", "paramSixtyHighpass", "paramSixtyTone",
            "paramSixtyWet" } },
        { "1.0",
          { "paramStudioRate", "paramStudioDepth", "paramStudioDelay", "paramStudioHighpass", "paramStudioTone",
            "paramStudioWet" } },
        { "2.0",
          { "paramEnsembleRate", "paramEnsembleDepth", "paramEnsembleDelay", "paramEnsembleHighpass",
            "paramEnsembleTone", "paramEnsembleWet", "paramEnsembleVibRate", "paramEnsembleVibAmount" } },
        { "3.0",
          { "paramQuadRate", "paramQuadDepth", "paramQuadDelay", "paramQuadHighpass", "paramQuadTone", "paramQuadWet",
            "paramQuadVibRate", "paramQuadVibAmount" } },
    } };

    return groups;
}

bool isSet (const juce::ValueTree& settings, const char* key)
{
    return settings.getChildWithName (key).getProperty (valueAttribute).toString() == "true";
}

/** The element that decides the parameter: the tree applies the elements in document
    order, so with duplicated IDs the last one wins. */
juce::XmlElement* decidingElement (juce::XmlElement& root, const juce::String& id)
{
    juce::XmlElement* found = nullptr;

    for (auto* element : root.getChildIterator())
        if (element->getStringAttribute (idAttribute) == id)
            found = element;

    return found;
}

juce::StringArray parametersToKeep (juce::XmlElement& root, const juce::ValueTree& settings)
{
    juce::StringArray keep;

    if (isSet (settings, "ignorePresetInactiveModes"))
    {
        // Compared as text, so a hand-written "2" selects no group and every mode is kept.
        if (const auto* mode = decidingElement (root, modeId))
        {
            const auto modeText = mode->getStringAttribute (valueAttribute);

            for (const auto& group : modeGroups())
                if (modeText != group.modeValueText)
                    keep.addArray (group.parameterIds);
        }
    }

    if (isSet (settings, "ignorePresetSpreadParam"))
        keep.add ("paramSpread");

    if (isSet (settings, "ignorePresetVolumeParam"))
        keep.add ("paramGain");

    return keep;
}
} // namespace

bool PresetFile::apply (juce::AudioProcessorValueTreeState& parameters, const juce::ValueTree& settings,
                        const juce::String& pluginName, const juce::String& path)
{
    if (path.isEmpty())
        return false;

    const auto xml = StateXml::readFile (juce::File (path));

    if (xml == nullptr || xml->getStringAttribute (pluginNameAttribute) != pluginName)
        return false;

    // Every element with a kept ID is overwritten, not only the first: a later duplicate
    // would otherwise set the parameter after all.
    const auto keep = parametersToKeep (*xml, settings);

    for (auto* element : xml->getChildIterator())
    {
        const auto id = element->getStringAttribute (idAttribute);

        if (keep.contains (id))
            element->setAttribute (valueAttribute, StateXml::currentValueText (parameters, id));
    }

    // Saved presets hold no bypass element; like every parameter the file lacks, the bypass
    // keeps its current value.
    StateXml::replaceParameters (parameters, juce::ValueTree::fromXml (*xml));
    parameters.state.setProperty (QexTidewellAudioProcessor::presetDataPath, path, nullptr);
    return true;
}

bool PresetFile::write (juce::AudioProcessorValueTreeState& parameters, const juce::String& pluginName,
                        const juce::String& chosenPath)
{
    if (chosenPath.isEmpty())
        return false;

    const auto path = chosenPath.endsWith (extension) ? chosenPath : chosenPath + extension;
    const auto name = juce::File (path).getFileNameWithoutExtension();

    // The live tree is renamed only once the file exists, so a failed write leaves it naming
    // the preset that was current. copyState also brings in parameter changes the tree's
    // timer has not written yet.
    auto state = parameters.copyState();
    state.setProperty (QexTidewellAudioProcessor::presetDataPath, path, nullptr);
    state.setProperty (QexTidewellAudioProcessor::presetDataName, name, nullptr);

    const auto xml = state.createXml();
    xml->setAttribute (pluginNameAttribute, pluginName);
    xml->removeAttribute (QexTidewellAudioProcessor::presetDataPath);

    while (auto* bypass = xml->getChildByAttribute (idAttribute, bypassId))
        xml->removeChildElement (bypass, true);

    if (! xml->writeTo (juce::File (path)))
        return false;

    parameters.state.setProperty (QexTidewellAudioProcessor::presetDataPath, path, nullptr);
    parameters.state.setProperty (QexTidewellAudioProcessor::presetDataName, name, nullptr);
    return true;
}
