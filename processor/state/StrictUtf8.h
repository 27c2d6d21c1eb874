#pragma once

#include <juce_core/juce_core.h>

/** The one check of text from outside (host state, preset and settings files, the clipboard)
    before the framework reads it.

    The framework's own check, juce::CharPointer_UTF8::isValidString, takes over-long forms and
    surrogates, and its decoder reads an over-long form as the character it spells: C1 A5 is an
    "e" to the number reader but not to a search for the byte 'e', and the XML parser loses a
    byte of a name that holds one each time it reads it. Here every character has one spelling.
*/
class StrictUtf8
{
public:
    /** Whether the text's bytes, up to its terminating zero, are well-formed UTF-8: no over-long
        form, no surrogate, nothing past U+10FFFF and no sequence cut short. */
    static bool isValid (const juce::String& text);
};
