#include "StrictUtf8.h"

#include <cstring>
#include <string>
#include <vector>

namespace
{
/** The length of the well-formed UTF-8 sequence that starts bytes, or 0 when none does. */
size_t sequenceLength (const unsigned char* bytes, size_t available)
{
    const auto lead = bytes[0];
    if (lead < 0x80)
        return 1;

    // The range of the first continuation byte excludes over-long forms, surrogates and
    // code points past U+10FFFF.
    size_t numContinuations = 0;
    unsigned char low = 0x80, high = 0xbf;

    if (lead >= 0xc2 && lead <= 0xdf)
        numContinuations = 1;
    else if (lead >= 0xe0 && lead <= 0xef)
    {
        numContinuations = 2;
        low = lead == 0xe0 ? 0xa0 : 0x80;
        high = lead == 0xed ? 0x9f : 0xbf;
    }
    else if (lead >= 0xf0 && lead <= 0xf4)
    {
        numContinuations = 3;
        low = lead == 0xf0 ? 0x90 : 0x80;
        high = lead == 0xf4 ? 0x8f : 0xbf;
    }
    else
        return 0;

    if (available <= numContinuations)
        return 0;

    for (size_t i = 1; i <= numContinuations; ++i)
    {
        if (bytes[i] < low || bytes[i] > high)
            return 0;

        low = 0x80;
        high = 0xbf;
    }

    return numContinuations + 1;
}

/** The characters of Windows-1252's bytes 0x80 to 0x9F; the rest of its upper half is Latin-1.
    Where it defines none the byte stands for the C1 control of its number, so that no byte is
    lost or mistaken for another. */
constexpr char16_t windows1252High[32] {
    0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008d, 0x017d, 0x008f, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178,
};

void appendWindows1252 (std::string& text, unsigned char byte)
{
    const auto character = byte < 0xa0 ? (unsigned) windows1252High[byte - 0x80] : (unsigned) byte;

    if (character < 0x800)
    {
        text += (char) (0xc0 | (character >> 6));
    }
    else
    {
        text += (char) (0xe0 | (character >> 12));
        text += (char) (0x80 | ((character >> 6) & 0x3f));
    }

    text += (char) (0x80 | (character & 0x3f));
}
/** UTF-16 text after its byte order mark. A surrogate that is not half of a pair stands for a
    character that cannot be known: it reads as U+FFFD, which UTF-8 can hold. */
juce::String textOfUtf16 (const unsigned char* bytes, size_t numBytes, bool bigEndian)
{
    const auto unitAt = [bytes, bigEndian] (size_t i)
    { return bigEndian ? (char32_t) (bytes[i] << 8 | bytes[i + 1]) : (char32_t) (bytes[i] | bytes[i + 1] << 8); };
    const auto isHigh = [] (char32_t unit) { return unit >= 0xd800 && unit <= 0xdbff; };
    const auto isLow = [] (char32_t unit) { return unit >= 0xdc00 && unit <= 0xdfff; };

    std::vector<juce::juce_wchar> characters;

    for (size_t i = 0; i + 1 < numBytes; i += 2)
    {
        auto character = unitAt (i);
        if (character == 0)
            break;

        if (isHigh (character) && i + 3 < numBytes && isLow (unitAt (i + 2)))
        {
            character = 0x10000 + ((character - 0xd800) << 10) + (unitAt (i + 2) - 0xdc00);
            i += 2;
        }
        else if (isHigh (character) || isLow (character))
        {
            character = 0xfffd;
        }

        characters.push_back ((juce::juce_wchar) character);
    }

    characters.push_back (0);
    return juce::String (juce::CharPointer_UTF32 (characters.data()));
}
} // namespace

bool StrictUtf8::isValid (const juce::String& text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*> (text.toRawUTF8());
    const auto numBytes = std::strlen (text.toRawUTF8());

    for (size_t i = 0; i < numBytes;)
    {
        const auto length = sequenceLength (bytes + i, numBytes - i);
        if (length == 0)
            return false;

        i += length;
    }

    return true;
}

juce::String StrictUtf8::decode (const char* bytes, size_t numBytes)
{
    if (bytes == nullptr)
        return {};

    const auto* in = reinterpret_cast<const unsigned char*> (bytes);
    if (const auto* zero = std::memchr (bytes, 0, numBytes))
        numBytes = (size_t) (static_cast<const char*> (zero) - bytes);

    std::string text;
    text.reserve (numBytes);

    for (size_t i = 0; i < numBytes;)
    {
        if (const auto length = sequenceLength (in + i, numBytes - i); length > 0)
        {
            text.append (bytes + i, length);
            i += length;
        }
        else
        {
            appendWindows1252 (text, in[i++]);
        }
    }

    // Both ends given, the framework copies the bytes, now well-formed, without reading them again.
    return { juce::CharPointer_UTF8 (text.data()), juce::CharPointer_UTF8 (text.data() + text.size()) };
}

juce::String StrictUtf8::decodeFile (const char* bytes, size_t numBytes)
{
    const auto* in = reinterpret_cast<const unsigned char*> (bytes);

    if (numBytes >= 2 && ((in[0] == 0xff && in[1] == 0xfe) || (in[0] == 0xfe && in[1] == 0xff)))
        return textOfUtf16 (in + 2, numBytes - 2, in[0] == 0xfe);

    if (numBytes >= 3 && in[0] == 0xef && in[1] == 0xbb && in[2] == 0xbf)
        return decode (bytes + 3, numBytes - 3);

    return decode (bytes, numBytes);
}
