#pragma once

#include <juce_data_structures/juce_data_structures.h>

/** The user settings that every instance on the machine shares, and their file. The tree holds
    one child per key, the key as the child's type and its text in the property "value"; lookup is
    by key only. Writers change the tree and then save it whole. Message thread only. */
class Settings
{
public:
    // The keys, as the file spells them.
    static const juce::Identifier scale;
    static const juce::Identifier ignorePresetInactiveModes;
    static const juce::Identifier ignorePresetSpreadParam;
    static const juce::Identifier ignorePresetVolumeParam;

    /** The defaults, in this order: scale "1.0", then each option "false". The file is read by load. */
    explicit Settings (juce::File settingsFile);

    /** Replaces the tree with the file's contents, whatever its root tag; keys nobody reads stay
        and are saved again. False, with the tree unchanged, when the file cannot be read safely
        or, once saved, would not load again. */
    bool load();

    /** Writes the whole tree to the file; false when it was not written. */
    bool save() const;

    /** The value stored for the key; void when the tree holds none. */
    juce::var value (const juce::Identifier& key) const;

    /** Stores value for the key, appending the key when the tree lacks it. */
    void setValue (const juce::Identifier& key, const juce::var& value);

    /** Whether the option is set: only the exact text "true" sets it. */
    bool isOptionSet (const juce::Identifier& option) const;

    /** Stores "true" or "false" for the option. */
    void setOption (const juce::Identifier& option, bool isSet);

    /** The whole tree, for what reads it as a whole. */
    const juce::ValueTree& tree() const { return settingsTree; }

private:
    const juce::File file;
    juce::ValueTree settingsTree;

    JUCE_DECLARE_NON_COPYABLE (Settings)
};
