#pragma once

#include <juce_core/juce_core.h>

/** The texts the processor broadcasts and the editor's components listen for. A listener compares
    with these declarations, so a misspelt name fails to compile instead of never matching. */
namespace StatusMessages
{
/** The settings file was read; sent from the constructor, before any editor can listen. */
inline const juce::String settingsLoaded { "SettingsLoaded" };

/** The host restored a state (whether or not it was taken). */
inline const juce::String stateInformationSet { "StateInformationSet" };

/** A preset file was applied. */
inline const juce::String presetLoaded { "PresetLoaded" };

/** A preset file was written. */
inline const juce::String presetSaved { "PresetSaved" };
} // namespace StatusMessages
