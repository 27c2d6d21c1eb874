#include "FiniteParameterFloat.h"

#include <cmath>

FiniteParameterFloat::FiniteParameterFloat (const juce::ParameterID& parameterID, const juce::String& parameterName,
                                            juce::NormalisableRange<float> normalisableRange, float defaultValue,
                                            const juce::AudioParameterFloatAttributes& attributes)
    : juce::RangedAudioParameter (parameterID, parameterName, attributes.getAudioProcessorParameterWithIDAttributes()),
      range (std::move (normalisableRange)),
      valueDefault (defaultValue),
      value (defaultValue),
      stringFromValue (attributes.getStringFromValueFunction()),
      valueFromString (attributes.getValueFromStringFunction())
{
    jassert (stringFromValue != nullptr && valueFromString != nullptr);
}

float FiniteParameterFloat::getValue() const { return convertTo0to1 (value); }

void FiniteParameterFloat::setValue (float newValue)
{
    if (std::isfinite (newValue))
        value = convertFrom0to1 (newValue);
}

float FiniteParameterFloat::getDefaultValue() const { return convertTo0to1 (valueDefault); }

// Continuous for hosts, as the framework's float parameter reports itself whatever its step.
int FiniteParameterFloat::getNumSteps() const { return juce::AudioProcessorParameter::getNumSteps(); }

juce::String FiniteParameterFloat::getText (float normalisedValue, int maximumLength) const
{
    return stringFromValue (convertFrom0to1 (normalisedValue), maximumLength);
}

float FiniteParameterFloat::getValueForText (const juce::String& text) const
{
    return convertTo0to1 (valueFromString (text));
}
