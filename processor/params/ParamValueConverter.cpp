#include "ParamValueConverter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace
{
/** Where the framework's number reader goes from the character at index: on by as many bytes
    as the lead byte claims, whatever they are (juce::CharPointer_UTF8's step), but not past
    the end of the text. */
size_t nextCharacter (const char* bytes, size_t size, size_t index)
{
    const auto lead = static_cast<unsigned char> (bytes[index]);
    size_t length = 1;

    if (lead >= 0x80)
        for (unsigned bit = 0x40; (lead & bit) != 0 && bit > 0x8; bit >>= 1)
            ++length;

    return std::min (index + length, size);
}

/** The character at index as the framework's number reader decodes it: an over-long form as
    the character it spells. */
juce::juce_wchar characterAt (const char* bytes, size_t size, size_t index)
{
    return index < size ? *juce::CharPointer_UTF8 (bytes + index) : 0;
}
} // namespace

juce::String ParamValueConverter::valueToTextFreq (float value, int /*maximumLength*/)
{
    if (value > 999.99f)
        return juce::String (value / 1000.0f, 1) + "kHz";

    // Halves away from zero, so 999.5 and above read 1000Hz.
    return juce::String (std::round (value), 0) + "Hz";
}

float ParamValueConverter::textToValueFreq (const juce::String& text)
{
    const auto lower = text.toLowerCase();

    if (lower.endsWith ("khz"))
        return (float) (readValue (lower.dropLastCharacters (3)) * 1000.0);

    return (float) readValue (lower.dropLastCharacters (2));
}

std::optional<double> ParamValueConverter::readNumber (const juce::String& text)
{
    const auto number = withBoundedExponent (text).getDoubleValue();

    if (std::isnan (number))
        return std::nullopt;

    return number;
}

double ParamValueConverter::readValue (const juce::String& text) { return readNumber (text).value_or (0.0); }

juce::String ParamValueConverter::withBoundedExponent (const juce::String& text)
{
    // Past this an exponent means infinity or zero: the digits before it add at most one each,
    // fewer than this in any text shorter than 100 MB, and a double ends near 10^308 and 10^-324.
    // Written as this, it leaves room in the reader's int for those digits, and it is left as it
    // is at the next reading, so that a value read again is written again the same.
    constexpr long long largestExponent = 99999999;

    const auto* bytes = text.toRawUTF8();
    const auto size = std::strlen (bytes);

    std::string out;
    size_t copied = 0;

    for (size_t i = 0; i < size;)
    {
        const auto c = characterAt (bytes, size, i);
        i = nextCharacter (bytes, size, i);

        if (c != 'e' && c != 'E')
            continue;

        if (const auto sign = characterAt (bytes, size, i); sign == '+' || sign == '-')
            i = nextCharacter (bytes, size, i);

        // The reader takes exponent digits as single bytes, as this does.
        const auto digitsStart = i;
        long long exponent = 0;

        for (; i < size && bytes[i] >= '0' && bytes[i] <= '9'; ++i)
            exponent = std::min (exponent * 10 + (bytes[i] - '0'), largestExponent + 1);

        if (exponent > largestExponent)
        {
            out.append (bytes + copied, digitsStart - copied);
            out += std::to_string (largestExponent);
            copied = i;
        }
    }

    if (out.empty())
        return text;

    out.append (bytes + copied, size - copied);
    return juce::String::fromUTF8 (out.data(), (int) out.size());
}
