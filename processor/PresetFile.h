#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Reading and writing ".qexp" preset files: the parameter tree as XML without the bypass,
    with the preset's name and the product's name on the root. */
class PresetFile
{
public:
    static const juce::String extension;

    /** Reads the preset file at path into the parameter tree and sets the tree's preset path
        to path. The settings tree decides which parameters keep their current values.
        False, with nothing changed, when the file cannot be read, does not parse, or was not
        written by the product named pluginName. */
    static bool apply (juce::AudioProcessorValueTreeState& parameters, const juce::ValueTree& settings,
                       const juce::String& pluginName, const juce::String& path);

    /** Writes the parameter tree to chosenPath, with ".qexp" appended unless it already ends
        so, and on success makes the tree's preset name and path name the written file.
        False, with nothing changed, for an empty path (a cancelled dialog) or a failed write. */
    static bool write (juce::AudioProcessorValueTreeState& parameters, const juce::String& pluginName,
                       const juce::String& chosenPath);
};
