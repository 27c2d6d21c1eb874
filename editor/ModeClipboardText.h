#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** The text that carries one chorus mode's settings through the clipboard: the tag
    "QEXTidewellMode", then "/Name:value" for each of the mode's controls and for Spread and
    Gain, each value normalised. Pasted into another mode it sets that mode's controls of the
    same names by knob position. */
class ModeClipboardText
{
public:
    /** The named mode's settings, read from the parameters now, as one line of text. */
    static juce::String copy (juce::AudioProcessorValueTreeState& parameters, const juce::String& modeName);

    /** Applies text from any mode to the named mode. Text that is not valid UTF-8, or does not
        begin with the tag and a slash, changes nothing; pieces naming no control of the mode,
        and NaN values, are skipped. A value is read as the number at its start after any white
        space (0 when none stands there), so a line end or tab around it does no harm; a value
        past 0 or 1, infinity included, sets the end of the range. */
    static void paste (juce::AudioProcessorValueTreeState& parameters, const juce::String& modeName,
                       const juce::String& text);
};
