#include "ParameterSet.h"

#include "ControlTable.h"
#include "FiniteParameterFloat.h"
#include "ParamValueConverter.h"

#include <cmath>
#include <utility>

namespace
{
using Range = juce::NormalisableRange<float>;
using ValueToText = std::function<juce::String (float, int)>;
using TextToValue = std::function<float (const juce::String&)>;
using ControlTable::modes;
using ControlTable::Text;

/** A range that moves evenly through the octaves, for the high-pass controls. */
Range getNormalisableRangeExp (float min, float max)
{
    const auto logMin = std::log (min);
    const auto logRange = std::log (max) - std::log (min);

    return Range (
        min, max,
        [logMin, logRange] (float start, float end, float proportion)
        {
            proportion = std::isnan (proportion) ? 1.0f : juce::jlimit (0.0f, 1.0f, proportion);
            const auto value = std::exp (proportion * logRange + logMin);
            return juce::jmax (start, juce::jmin (end, value));
        },
        [logMin, logRange] (float start, float end, float value)
        {
            value = juce::jmax (start, juce::jmin (end, value));
            return (std::log (value) - logMin) / logRange;
        },
        [] (float, float, float value) { return value; });
}

Range rangeOf (const ControlTable::Range& range)
{
    return range.evenOctaves ? getNormalisableRangeExp (range.start, range.end)
                             : Range (range.start, range.end, range.step);
}

ValueToText withDecimals (int decimals, const char* unit)
{
    return [decimals, unit] (float value, int) { return juce::String (value, decimals) + unit; };
}

/** Removes the unit's length from the end, whatever the characters are, and reads the
    number that remains. */
TextToValue dropLast (int numCharacters)
{
    return [numCharacters] (const juce::String& text)
    { return (float) ParamValueConverter::readValue (text.dropLastCharacters (numCharacters)); };
}

juce::String modeNameText (float value, int) { return modes[ControlTable::modeSelectedBy (value)].name; }

// Any other text than the names of the first modes selects the last one, as any other value does.
float modeNameValue (const juce::String& text)
{
    for (size_t k = 0; k + 1 < modes.size(); ++k)
        if (text == modes[k].name)
            return (float) k;
    return (float) modes.size() - 1.0f;
}

std::pair<ValueToText, TextToValue> conversionsOf (Text text)
{
    switch (text)
    {
        case Text::hertz: return { withDecimals (2, "Hz"), dropLast (2) };
        case Text::milliseconds: return { withDecimals (2, "ms"), dropLast (2) };
        case Text::percent: return { withDecimals (0, "%"), dropLast (1) };
        case Text::decibels: return { withDecimals (1, "dB"), dropLast (2) };
        case Text::frequency: return { &ParamValueConverter::valueToTextFreq, &ParamValueConverter::textToValueFreq };
        case Text::modeName: return { &modeNameText, &modeNameValue };
        case Text::fractionAsPercent:
            return { [] (float value, int) { return juce::String (value * 100.0f, 0) + "%"; },
                     [] (const juce::String& t)
                     { return (float) (ParamValueConverter::readValue (t.dropLastCharacters (1)) * 0.01); } };
        case Text::bypass: break;
    }

    return { [] (float value, int) -> juce::String { return value < 0.5f ? "Active" : "Bypassed"; },
             [] (const juce::String& t) { return t == "Active" ? 0.0f : 1.0f; } };
}
} // namespace

juce::AudioProcessorValueTreeState::ParameterLayout ParameterSet::createLayout()
{
    juce::AudioProcessorValueTreeState::ParameterLayout layout;

    const auto add = [&layout] (const juce::String& id, const juce::String& name, const ControlTable::Range& range,
                                float defaultValue, Text text, int sinceVersion)
    {
        const auto [toText, toValue] = conversionsOf (text);
        const auto attributes = juce::AudioParameterFloatAttributes()
                                    .withLabel ({})
                                    .withCategory (juce::AudioProcessorParameter::genericParameter)
                                    .withStringFromValueFunction (toText)
                                    .withValueFromStringFunction (toValue);
        layout.add (std::make_unique<FiniteParameterFloat> (juce::ParameterID { id, sinceVersion }, name,
                                                            rangeOf (range), defaultValue, attributes));
    };

    const auto& selector = ControlTable::modeSelector;
    add (ControlTable::modeSelectorId(), selector.name, selector.range, selector.defaultValue, selector.text, 1);

    for (size_t mode = 0; mode < modes.size(); ++mode)
    {
        for (size_t index = 0; index < ControlTable::modeControls.size(); ++index)
        {
            const auto& control = ControlTable::modeControls[index];
            if (ControlTable::modeHas (mode, index))
                add (ControlTable::modeControlId (modes[mode].name, index),
                     juce::String (modes[mode].name) + " " + control.displayName, control.range, control.defaults[mode],
                     control.text, control.sinceVersion);
        }
    }

    for (size_t index = 0; index < ControlTable::globalControls.size(); ++index)
    {
        const auto& control = ControlTable::globalControls[index];
        add (ControlTable::globalControlId (index), control.name, control.range, control.defaultValue, control.text,
             control.sinceVersion);
    }

    return layout;
}
