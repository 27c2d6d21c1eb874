#pragma once

#include "Settings.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** Reading and writing ".qexp" preset files: the values of every parameter but the bypass,
    with the preset's name and the product's name on the root. */
class PresetFile
{
public:
    static const juce::String extension;

    /** The parameter tree's properties that name the current preset and its file; a file holds
        the name on its root. */
    static const juce::Identifier nameProperty;
    static const juce::Identifier pathProperty;

    /** The path a preset chosen as chosenPath is written to: ".qexp" is appended unless the
        path already ends so. */
    static juce::String pathFor (const juce::String& chosenPath);

    /** Reads the preset file at path into the parameter tree and sets the tree's preset path
        to path. The settings decide which parameters keep their current values; of the
        file only the parameter values and the preset's name are taken over.
        False, with nothing changed, when the file cannot be read, does not parse, was not
        written by the product named pluginName, or would leave a state too large to restore. */
    static bool apply (juce::AudioProcessorValueTreeState& parameters, const Settings& settings,
                       const juce::String& pluginName, const juce::String& path);

    /** Writes the parameter values to pathFor (chosenPath), and on success makes the tree's
        preset name and path name the written file. False, with nothing changed, for an empty
        path (a cancelled dialog), a folder or a read-only file in the preset's place, a name
        and path that would leave a state too large to restore, or a failed write. */
    static bool write (juce::AudioProcessorValueTreeState& parameters, const juce::String& pluginName,
                       const juce::String& chosenPath);

    /** Sets the tree's preset name and path. False, with nothing changed, when the state the
        plug-in would then save could not be restored. */
    static bool nameCurrentPreset (juce::AudioProcessorValueTreeState& parameters, const juce::String& name,
                                   const juce::String& path);
};
