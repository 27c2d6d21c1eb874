#pragma once

#include "ControlSmoothing.h"
#include "MeterFeed.h"
#include "SingleEngineSum.h"
#include "processor/dsp/ChorusEnsemble.h"
#include "processor/dsp/ChorusQuad.h"
#include "processor/dsp/ChorusSixty.h"
#include "processor/dsp/ChorusStudio.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <optional>
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
        Every slice starts with a control tick. The first two channels of each side carry the
        stereo path (one channel serves as both); output channels past the second are silenced. */
    void processSlice (juce::AudioBuffer<float>& buffer, int start, int numSamples, int numInputChannels,
                       int numOutputChannels);

private:
    using ControlMask = ControlSmoothing::ControlMask;
    static constexpr auto numModes = ControlTable::numModes;

    /** Where a slice reads and writes, its left and right channels (the same one twice where a side
        has one channel). */
    struct Channels
    {
        const float* inLeft;
        const float* inRight;
        const float* dryLeft;
        const float* dryRight;
        float* outLeft;
        float* outRight;
        bool stereoOutput;
    };

    /** A stretch of a slice from one control tick that changes something to the next, and the
        values that hold throughout it. */
    struct Stretch
    {
        int end;
        std::array<float, numModes> gains;
        std::array<bool, numModes> running;
        float volume;
        float bypassMix;
        std::optional<SingleEngineSum> single;
    };

    /** The largest output samples so far, in one lane or four. */
    template <typename Lanes>
    struct Peaks
    {
        Lanes left = 0.0f;
        Lanes right = 0.0f;
    };

    /** Each engine's output pairs for one engine block, left and right interleaved. */
    using EngineFrames = float[numModes][2 * engineBlockSize];

    // The steps of processSlice. Those that hand it values are inlined into it: as calls they would
    // let those values escape, and the frame loop would reload them after every store.

    /** Silences the output channels that carry nothing and copies the dry input; nothing when the
        slice has no input or no output. */
    forcedinline std::optional<Channels> beginSlice (juce::AudioBuffer<float>& buffer, int start, int numSamples,
                                                     int numInputChannels, int numOutputChannels);
    /** The control tick at begin and the stretch it starts. */
    forcedinline Stretch nextStretch (int begin, int numSamples);
    /** The running engines' output for numSamples frames from blockStart; an engine that does not
        run repeats its last pair, unless the single-engine sum leaves it out. */
    forcedinline void render (EngineFrames& frames, const Stretch& stretch, const Channels& io, int blockStart,
                              int numSamples);
    /** The crossfade sum at offset into the engines' frames. */
    template <typename Lanes>
    Lanes mix (const EngineFrames& frames, const Stretch& stretch, int offset) const noexcept;
    /** Volume, the mono fold, the bypass crossfade and the peaks, on the frame (or four) from i. */
    template <typename Lanes>
    void finish (Lanes left, Lanes right, const Stretch& stretch, const Channels& io, int i,
                 Peaks<Lanes>& peaks) const noexcept;
    /** Hands the slice's output and its peaks, from the single frames and the lanes, to the meters. */
    void feedMeters (const Channels& io, int numSamples, Peaks<float> peaks, Peaks<Simd::Float4> peakLanes);

    /** Steps the smoothing and hands what changed to the volume and the engines. */
    void stepControls();
    // Unrolled at compile time, so that each changed value goes straight to its engine's setter.
    void pushControls (ControlMask changed);
    template <size_t... smoothed>
    void pushEach (ControlMask changed, std::index_sequence<smoothed...>);
    template <size_t smoothed>
    void pushControl (ControlMask changed);
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

    // Per-slice state of the audio thread. An engine that does not run repeats the last pair it
    // gave in the slice.
    std::array<std::pair<float, float>, numModes> engineOutputs {};
    float volumeGain = 1.0f;

    JUCE_DECLARE_NON_COPYABLE (ChorusMix)
};
