#include "ModeClipboardText.h"

#include "processor/params/ControlTable.h"
#include "processor/params/ParamValueConverter.h"
#include "processor/state/StrictUtf8.h"

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
    // Checked before anything splits the text: the framework's string functions step over a
    // damaged sequence without looking, past its end.
    const auto prefix = tag + "/";
    if (! StrictUtf8::isValid (text) || ! text.startsWith (prefix))
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
