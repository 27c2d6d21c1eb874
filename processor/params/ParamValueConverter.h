#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** Value texts of the parameters: the one number reader that every text-to-value rule uses,
    and the texts of the frequency parameters ("447Hz" below one kilohertz, "4.0kHz" above). */
class ParamValueConverter
{
public:
    static juce::String valueToTextFreq (float value, int maximumLength);
    static float textToValueFreq (const juce::String& text);

    /** The number at the start of text as the framework's reader reads it (0 when none stands
        there, infinity for "inf" or a number past a double's range), or nothing for "nan". */
    static std::optional<double> readNumber (const juce::String& text);

    /** readNumber for a value a parameter takes: text holding "nan" holds no number, so it
        reads as 0 like any other text without one. */
    static double readValue (const juce::String& text);

    /** The text with every exponent past 99999999 written as 99999999, which means the same
        (infinity or zero): the framework reads an exponent into an int without a bound and
        overflows. Exponents are found as the framework's reader finds them, character by
        character as it decodes and steps, so an "e" in any spelling counts. */
    static juce::String withBoundedExponent (const juce::String& text);
};
