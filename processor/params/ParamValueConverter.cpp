#include "ParamValueConverter.h"

#include <cmath>
#include <string>

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
    const std::string in (text.toRawUTF8());
    std::string out;
    auto changed = false;

    for (size_t i = 0; i < in.size();)
    {
        const auto c = in[i++];
        out += c;

        if (c != 'e' && c != 'E')
            continue;

        if (i < in.size() && (in[i] == '+' || in[i] == '-'))
            out += in[i++];

        const auto start = i;
        while (i < in.size() && in[i] == '0')
            ++i;

        const auto firstSignificant = i;
        while (i < in.size() && in[i] >= '0' && in[i] <= '9')
            ++i;

        if (i - firstSignificant > 4)
        {
            out += "999";
            changed = true;
        }
        else
        {
            out.append (in, start, i - start);
        }
    }

    return changed ? juce::String::fromUTF8 (out.data(), (int) out.size()) : text;
}
