#include "Settings.h"

#include "StateXml.h"

#include <iterator>
#include <utility>

const juce::Identifier Settings::scale { "scale" };
const juce::Identifier Settings::ignorePresetInactiveModes { "ignorePresetInactiveModes" };
const juce::Identifier Settings::ignorePresetSpreadParam { "ignorePresetSpreadParam" };
const juce::Identifier Settings::ignorePresetVolumeParam { "ignorePresetVolumeParam" };

namespace
{
const juce::Identifier valueProperty { "value" };

const std::pair<const juce::Identifier&, const char*> defaultSettings[] {
    { Settings::scale, "1.0" },
    { Settings::ignorePresetInactiveModes, "false" },
    { Settings::ignorePresetSpreadParam, "false" },
    { Settings::ignorePresetVolumeParam, "false" },
};

/** The most bytes one setting that the plug-in writes takes in the settings file. */
constexpr int maxSettingBytes = 96;
} // namespace

Settings::Settings (juce::File settingsFile) : file (std::move (settingsFile)), settingsTree ("settings")
{
    for (const auto& [key, text] : defaultSettings)
        setValue (key, text);
}

bool Settings::load()
{
    // The file is shared by every instance: what cannot be read safely leaves the tree as it is.
    const auto xml = StateXml::readFile (file);
    if (xml == nullptr)
        return false;

    // Any root tag loads; the tree keeps its own type, and keys nobody reads survive saves.
    juce::ValueTree loaded (settingsTree.getType());
    loaded.copyPropertiesAndChildrenFrom (juce::ValueTree::fromXml (*xml), nullptr);

    // Once saved, with the settings the plug-in writes itself added, the file must still load;
    // one that would not is refused now rather than lost at the next save.
    const auto numDefaults = (int) std::size (defaultSettings);
    if (! StateXml::readsBack (loaded, juce::XmlElement::TextFormat(), numDefaults, numDefaults * maxSettingBytes))
        return false;

    settingsTree.copyPropertiesAndChildrenFrom (loaded, nullptr);
    return true;
}

bool Settings::save() const
{
    const auto xml = settingsTree.createXml();
    return xml != nullptr && xml->writeTo (file);
}

juce::var Settings::value (const juce::Identifier& key) const
{
    return settingsTree.getChildWithName (key).getProperty (valueProperty);
}

void Settings::setValue (const juce::Identifier& key, const juce::var& newValue)
{
    settingsTree.getOrCreateChildWithName (key, nullptr).setProperty (valueProperty, newValue, nullptr);
}

bool Settings::isOptionSet (const juce::Identifier& option) const { return value (option).toString() == "true"; }

void Settings::setOption (const juce::Identifier& option, bool isSet) { setValue (option, isSet ? "true" : "false"); }
