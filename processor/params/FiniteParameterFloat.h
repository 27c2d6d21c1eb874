#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

/** A float parameter that behaves as juce::AudioParameterFloat does, except that it keeps
    its value when it is handed a normalised value that is not finite.

    Every plug-in format hands a host's values to setValue, and the framework's ranges let
    NaN through; from the parameter it would reach the smoothers, the engines and the saved
    state. The framework's float parameter keeps its setValue private, so this class is built
    on the ranged parameter instead of on it. */
class FiniteParameterFloat : public juce::RangedAudioParameter
{
public:
    FiniteParameterFloat (const juce::ParameterID& parameterID, const juce::String& parameterName,
                          juce::NormalisableRange<float> normalisableRange, float defaultValue,
                          const juce::AudioParameterFloatAttributes& attributes);

    float get() const noexcept { return value; }

    const juce::NormalisableRange<float>& getNormalisableRange() const override { return range; }

    float getValue() const override;
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    int getNumSteps() const override;
    juce::String getText (float normalisedValue, int maximumLength) const override;
    float getValueForText (const juce::String& text) const override;

private:
    const juce::NormalisableRange<float> range;
    const float valueDefault;
    std::atomic<float> value;
    const std::function<juce::String (float, int)> stringFromValue;
    const std::function<float (const juce::String&)> valueFromString;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FiniteParameterFloat)
};
