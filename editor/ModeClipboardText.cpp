#include "ModeClipboardText.h"

#include "processor/params/ControlTable.h"
#include "processor/params/ParamValueConverter.h"

#include <locale>
#include <sstream>

namespace
{
const juce::String tag ("QEXTidewellMode");

// Every mode's controls in text order; a mode without vibrato has no parameter for the last two.
constexpr size_t modeControlsInText[] { ControlTable::rate,        ControlTable::depth,        ControlTable::delay,
                                        ControlTable::highpass,    ControlTable::tone,         ControlTable::wet,
                                        ControlTable::vibratoRate, ControlTable::vibratoAmount };

// The controls of no mode that follow them.
constexpr size_t globalControlsInText[] { ControlTable::spread, ControlTable::gain };

/** The ID of the parameter that the named field of the text sets in the mode; empty for a name
    that is no field. */
juce::String parameterIdOf (const juce::String& modeName, const juce::String& name)
{
    for (const auto control : modeControlsInText)
        if (name == ControlTable::modeControls[control].suffix)
            return ControlTable::modeControlId (modeName, control);

    for (const auto control : globalControlsInText)
        if (name == ControlTable::globalControls[control].suffix)
            return ControlTable::globalControlId (control);

    return {};
}

/** Six significant digits in general notation with a point, whatever the host's locale. */
juce::String formatNormalisedValue (double value)
{
    std::ostringstream stream;
    stream.imbue (std::locale::classic());
    stream << value;
    return stream.str();
}

/** Whether the bytes are well-formed UTF-8. Checked before anything splits the text: the
    framework's string functions step over a damaged sequence without looking, past its end. */
bool isValidUtf8 (const juce::String& text)
{
    for (const auto* byte = reinterpret_cast<const unsigned char*> (text.toRawUTF8()); *byte != 0;)
    {
        const auto lead = *byte++;
        if (lead < 0x80)
            continue;

        // The range of the first continuation byte excludes overlong forms, surrogates and
        // code points past U+10FFFF.
        int numContinuations = 0;
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
            return false;

        for (int i = 0; i < numContinuations; ++i)
        {
            // The terminating zero is no continuation byte, so the check ends at the text's end.
            if (*byte < low || *byte > high)
                return false;

            ++byte;
            low = 0x80;
            high = 0xbf;
        }
    }

    return true;
}
} // namespace

juce::String ModeClipboardText::copy (juce::AudioProcessorValueTreeState& parameters, const juce::String& modeName)
{
    juce::String text (tag);

    const auto appendField = [&parameters, &text] (const juce::String& name, const juce::String& parameterId)
    {
        if (auto* parameter = parameters.getParameter (parameterId))
            text << "/" << name << ":" << formatNormalisedValue ((double) parameter->getValue());
    };

    for (const auto control : modeControlsInText)
        appendField (ControlTable::modeControls[control].suffix, ControlTable::modeControlId (modeName, control));

    for (const auto control : globalControlsInText)
        appendField (ControlTable::globalControls[control].suffix, ControlTable::globalControlId (control));

    return text;
}

void ModeClipboardText::paste (juce::AudioProcessorValueTreeState& parameters, const juce::String& modeName,
                               const juce::String& text)
{
    const auto prefix = tag + "/";
    if (! isValidUtf8 (text) || ! text.startsWith (prefix))
        return;

    juce::StringArray pieces;
    pieces.addTokens (text.substring (prefix.length()), "/", "\"");

    for (const auto& piece : pieces)
    {
        juce::StringArray parts;
        parts.addTokens (piece, ":", "\"");
        if (parts.size() != 2)
            continue;

        auto* parameter = parameters.getParameter (parameterIdOf (modeName, parts[0]));

        // NaN would reach the host as the parameter's new value; it is no number, so the piece
        // is skipped. The host is told the limited value, not one past the range.
        const auto value = ParamValueConverter::readNumber (parts[1]);
        if (parameter == nullptr || ! value.has_value())
            continue;

        parameter->setValueNotifyingHost ((float) juce::jlimit (0.0, 1.0, *value));
    }
}
