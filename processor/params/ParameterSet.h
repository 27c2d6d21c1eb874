#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** The plug-in's parameters as the control table declares them, with the texts that hosts and the
    editor show and accept for their values. */
class ParameterSet
{
public:
    /** Every parameter in host order: the mode selector, each mode's controls, the global controls. */
    static juce::AudioProcessorValueTreeState::ParameterLayout createLayout();
};
