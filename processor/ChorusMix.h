#pragma once

#include "ControlSmoothing.h"
#include "MeterFeed.h"
#include "dsp/ChorusEnsemble.h"
#include "dsp/ChorusQuad.h"
#include "dsp/ChorusSixty.h"
#include "dsp/ChorusStudio.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <tuple>
#include <utility>

/** The audio path: the four engines take their turns on the input, their outputs are crossfaded by
    the mode gains, then the volume, the bypass crossfade with the dry input and the meter feed. The
    control values come from the smoothing at each control tick. */
class ChorusMix
{
public:
    ChorusMix (ControlSmoothing& controls, MeterFeed& meters);

    /** While the audio thread is stopped, after the smoothing's prepare: sizes the dry copy and
        prepares every engine with the controls' tick values. */
    void prepare (double sampleRate, int numInputChannels, int numOutputChannels, int maxSliceSize);

    /** The most samples processSlice takes at once; 0 before prepare. */
    int maxSliceSize() const { return dryBuffer.getNumSamples(); }

    /** Audio thread: processes numSamples samples of buffer from start on, at most maxSliceSize.
        Every slice starts with a control tick. */
    void processSlice (juce::AudioBuffer<float>& buffer, int start, int numSamples, int numInputChannels,
                       int numOutputChannels);

private:
    using SlotMask = ControlSmoothing::SlotMask;

    void controlTick();
    // Unrolled at compile time, so that each changed value goes straight to its engine's setter.
    void pushControls (SlotMask changedSlots);
    template <size_t... slot>
    void pushSlots (SlotMask changedSlots, std::index_sequence<slot...>);
    template <size_t slot>
    void pushSlot (SlotMask changedSlots);
    ChorusControls controlsFor (size_t mode) const;

    /** Calls visit (k, engine) for the engine of each mode k in turn. */
    template <typename Visit>
    void forEachEngine (Visit&& visit)
    {
        visitEngines (visit, std::make_index_sequence<ControlTable::numModes>());
    }

    template <typename Visit, size_t... k>
    void visitEngines (Visit& visit, std::index_sequence<k...>)
    {
        (visit (k, std::get<k> (engines)), ...);
    }

    ControlSmoothing& controls;
    MeterFeed& meters;

    // In the order of the modes.
    std::tuple<ChorusSixty, ChorusStudio, ChorusEnsemble, ChorusQuad> engines;
    static_assert (std::tuple_size_v<decltype (engines)> == ControlTable::numModes, "one engine per mode");

    juce::AudioBuffer<float> dryBuffer;

    // Per-slice state of the audio thread.
    std::array<std::pair<float, float>, ControlTable::numModes> engineOutputs {};
    float volumeGain = 1.0f;

    JUCE_DECLARE_NON_COPYABLE (ChorusMix)
};
