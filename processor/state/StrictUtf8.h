#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>

/** The one check of text from outside (host state, preset and settings files, file names, the
    clipboard) before the framework reads it, and the one reading of bytes that may not be UTF-8.

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

    /** Text of bytes that may be UTF-8, Windows-1252 or a mix, as a hand-edited file or a file
        name may be: each well-formed UTF-8 sequence is the character it spells and every other
        byte its Windows-1252 character (the five bytes that code page leaves undefined, the C1
        control of the same number). The result is always well-formed, and bytes that already are
        read unchanged. The text ends at a zero byte, as the framework's strings do. */
    static juce::String decode (const char* bytes, size_t numBytes);

    /** A file's text. A byte order mark decides between UTF-16 and UTF-8, as the framework's own
        file reading does; without one the bytes are read by decode, so that a file saved by an
        editor in Windows-1252, or holding one stray byte, keeps every letter it holds. The
        result is always well-formed UTF-8. */
    static juce::String decodeFile (const char* bytes, size_t numBytes);
};
