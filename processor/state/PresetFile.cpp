#include "PresetFile.h"

#include "StateXml.h"
#include "processor/params/ControlTable.h"

#include <sys/stat.h>
#include <unistd.h>

const juce::String PresetFile::extension { ".qexp" };
const juce::Identifier PresetFile::nameProperty { "presetName" };
const juce::Identifier PresetFile::pathProperty { "presetPath" };

namespace
{
const juce::Identifier idAttribute { "id" };
const juce::Identifier valueAttribute { "value" };
const juce::Identifier pluginNameAttribute { "pluginName" };
const juce::Identifier paramType { "PARAM" };

/** Whether nobody may write the file: it has no write permission at all (which the super-user
    would otherwise ignore), or none for this process. */
bool isReadOnly (const juce::File& file)
{
    const auto path = file.getFullPathName();
    struct stat status;

    return ::stat (path.toRawUTF8(), &status) == 0
           && ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access (path.toRawUTF8(), W_OK) != 0);
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

juce::StringArray parametersToKeep (juce::XmlElement& root, const Settings& settings)
{
    juce::StringArray keep;

    if (settings.isOptionSet (Settings::ignorePresetInactiveModes))
    {
        // Compared as text with what the tree writes for each mode ("2.0"), so a hand-written "2"
        // selects no mode and every mode is kept.
        if (const auto* mode = decidingElement (root, ControlTable::modeSelectorId()))
        {
            const auto modeText = mode->getStringAttribute (valueAttribute);

            for (size_t k = 0; k < ControlTable::numModes; ++k)
                if (modeText != StateXml::valueText ((float) k))
                    for (size_t control = 0; control < ControlTable::modeControls.size(); ++control)
                        if (ControlTable::modeHas (k, control))
                            keep.add (ControlTable::modeControlId (ControlTable::modes[k].name, control));
        }
    }

    if (settings.isOptionSet (Settings::ignorePresetSpreadParam))
        keep.add (ControlTable::globalControlId (ControlTable::spread));

    if (settings.isOptionSet (Settings::ignorePresetVolumeParam))
        keep.add (ControlTable::globalControlId (ControlTable::gain));

    return keep;
}

bool restoresNamed (const juce::AudioProcessorValueTreeState& parameters, const juce::String& name,
                    const juce::String& path)
{
    auto named = parameters.state.createCopy();
    named.setProperty (PresetFile::nameProperty, name, nullptr);
    named.setProperty (PresetFile::pathProperty, path, nullptr);
    return StateXml::restoresWhenSaved (parameters, named);
}

void setNameAndPath (juce::AudioProcessorValueTreeState& parameters, const juce::String& name, const juce::String& path)
{
    parameters.state.setProperty (PresetFile::pathProperty, path, nullptr);
    parameters.state.setProperty (PresetFile::nameProperty, name, nullptr);
}
} // namespace

juce::String PresetFile::pathFor (const juce::String& chosenPath)
{
    return chosenPath.endsWith (extension) ? chosenPath : chosenPath + extension;
}

bool PresetFile::apply (juce::AudioProcessorValueTreeState& parameters, const Settings& settings,
                        const juce::String& pluginName, const juce::String& path)
{
    if (path.isEmpty())
        return false;

    const auto xml = StateXml::readFile (juce::File (path));

    if (xml == nullptr || xml->getStringAttribute (pluginNameAttribute) != pluginName)
        return false;

    // Only what the plug-in reads is taken over: anything else could make the state it then
    // saves, or the preset it writes, too large to be read back.
    juce::ValueTree state (parameters.state.getType());

    if (xml->hasAttribute (nameProperty.toString()))
        state.setProperty (nameProperty, xml->getStringAttribute (nameProperty), nullptr);

    state.setProperty (pluginNameAttribute, pluginName, nullptr);
    state.setProperty (pathProperty, path, nullptr);

    const auto keep = parametersToKeep (*xml, settings);

    // Saved presets hold no bypass element; like every parameter the file lacks, the bypass
    // keeps its current value.
    for (auto* parameter : parameters.processor.getParameters())
    {
        const auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter);
        const auto* element = withId != nullptr ? decidingElement (*xml, withId->paramID) : nullptr;

        if (element == nullptr)
            continue;

        juce::ValueTree child (paramType);
        child.setProperty (idAttribute, withId->paramID, nullptr);

        // An element without a value sets the default.
        if (keep.contains (withId->paramID))
            child.setProperty (valueAttribute, StateXml::currentValueText (parameters, withId->paramID), nullptr);
        else if (element->hasAttribute (valueAttribute.toString()))
            child.setProperty (valueAttribute, element->getStringAttribute (valueAttribute), nullptr);

        state.appendChild (child, nullptr);
    }

    return StateXml::replaceParameters (parameters, state);
}

bool PresetFile::write (juce::AudioProcessorValueTreeState& parameters, const juce::String& pluginName,
                        const juce::String& chosenPath)
{
    if (chosenPath.isEmpty())
        return false;

    const auto path = pathFor (chosenPath);
    const auto file = juce::File (path);
    const auto name = file.getFileNameWithoutExtension();

    // Writing goes through a temporary file that is renamed over the old one, which would
    // replace a preset the user made read-only, or an empty folder.
    if (isReadOnly (file) || file.isDirectory() || ! restoresNamed (parameters, name, path))
        return false;

    // Like a load, the file holds only what the plug-in reads: the values of every parameter
    // but the bypass, and the names.
    juce::XmlElement xml (parameters.state.getType().toString());
    xml.setAttribute (nameProperty, name);
    xml.setAttribute (pluginNameAttribute, pluginName);

    const auto bypassId = ControlTable::globalControlId (ControlTable::bypass);

    for (auto* parameter : parameters.processor.getParameters())
    {
        if (const auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter);
            withId != nullptr && withId->paramID != bypassId)
        {
            auto* element = xml.createNewChildElement (paramType.toString());
            element->setAttribute (idAttribute, withId->paramID);
            element->setAttribute (valueAttribute, StateXml::currentValueText (parameters, withId->paramID));
        }
    }

    // The live tree is renamed only once the file exists, so a failed write leaves it naming
    // the preset that was current. The new name and path were checked above.
    if (! xml.writeTo (file))
        return false;

    setNameAndPath (parameters, name, path);
    return true;
}

bool PresetFile::nameCurrentPreset (juce::AudioProcessorValueTreeState& parameters, const juce::String& name,
                                    const juce::String& path)
{
    if (! restoresNamed (parameters, name, path))
        return false;

    setNameAndPath (parameters, name, path);
    return true;
}
