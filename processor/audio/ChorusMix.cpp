#include "ChorusMix.h"

// The frame steps are written once for one frame (floats) and for four (Float4s).
using Simd::Float4;
using Simd::load;
using Simd::max;
using Simd::store;

ChorusMix::ChorusMix (ControlSmoothing& controlsToFollow, MeterFeed& metersToFeed)
    : controls (controlsToFollow),
      meters (metersToFeed)
{
}

void ChorusMix::prepare (double sampleRate, int numInputChannels, int numOutputChannels, int maxSlice)
{
    // The path reads two input channels at most, and the engines fold to mono for one output only.
    dryBuffer.setSize (juce::jmin (numInputChannels, 2), maxSlice);
    const auto engineOutputChannels = juce::jmin (numOutputChannels, 2);
    forEachEngine ([this, sampleRate, engineOutputChannels] (size_t k, auto& engine)
                   { engine.prepare (sampleRate, engineOutputChannels, controlsFor (k)); });
}

void ChorusMix::processSlice (juce::AudioBuffer<float>& buffer, int start, int numSamples, int numInputChannels,
                              int numOutputChannels)
{
    const auto io = beginSlice (buffer, start, numSamples, numInputChannels, numOutputChannels);
    if (! io.has_value())
        return;

    engineOutputs = {};
    Peaks<float> peaks;
    Peaks<Float4> peakLanes;

    for (int stretchStart = 0; stretchStart < numSamples;)
    {
        const auto stretch = nextStretch (stretchStart, numSamples);

        for (int blockStart = stretchStart; blockStart < stretch.end; blockStart += engineBlockSize)
        {
            const auto n = juce::jmin (engineBlockSize, stretch.end - blockStart);
            alignas (16) EngineFrames frames;
            render (frames, stretch, *io, blockStart, n);

            // Four frames at a time, each lane a frame, then the rest one by one.
            int j = 0;
            for (; j + 4 <= n; j += 4)
            {
                const auto first = mix<Float4> (frames, stretch, 2 * j);
                const auto second = mix<Float4> (frames, stretch, 2 * j + 4);
                finish (evenLanes (first, second), oddLanes (first, second), stretch, *io, blockStart + j, peakLanes);
            }
            for (; j < n; ++j)
                finish (mix<float> (frames, stretch, 2 * j), mix<float> (frames, stretch, 2 * j + 1), stretch, *io,
                        blockStart + j, peaks);
        }

        stretchStart = stretch.end;
    }

    feedMeters (*io, numSamples, peaks, peakLanes);
    controls.finishSlice();
}

std::optional<ChorusMix::Channels> ChorusMix::beginSlice (juce::AudioBuffer<float>& buffer, int start, int numSamples,
                                                          int numInputChannels, int numOutputChannels)
{
    // The dry copy has two channels at most: inputs past the second are never read, and outputs past
    // the inputs read start silent (the path then writes the first two).
    const auto ins = juce::jmin (numInputChannels, buffer.getNumChannels(), dryBuffer.getNumChannels());
    const auto outs = juce::jmin (numOutputChannels, buffer.getNumChannels());

    for (auto channel = ins; channel < outs; ++channel)
        buffer.clear (channel, start, numSamples);

    if (ins == 0 || outs == 0)
        return {};

    for (int channel = 0; channel < ins; ++channel)
        dryBuffer.copyFrom (channel, 0, buffer, channel, start, numSamples);

    const auto rightOf = [] (int numChannels) { return numChannels >= 2 ? 1 : 0; };
    return Channels { buffer.getReadPointer (0, start),
                      buffer.getReadPointer (rightOf (ins), start),
                      dryBuffer.getReadPointer (0),
                      dryBuffer.getReadPointer (rightOf (ins)),
                      buffer.getWritePointer (0, start),
                      buffer.getWritePointer (rightOf (outs), start),
                      outs >= 2 };
}

ChorusMix::Stretch ChorusMix::nextStretch (int begin, int numSamples)
{
    stepControls();

    // The engines run on through the control ticks that would change nothing, in longer stretches.
    auto end = juce::jmin (numSamples, begin + controls.getControlInterval());
    while (end < numSamples && controls.stepChangesNothing())
        end = juce::jmin (numSamples, end + controls.getControlInterval());

    const auto& gains = controls.modeGains();
    const auto& running = controls.runningModes();
    return { end,
             gains,
             running,
             volumeGain,
             controls.value (ControlSmoothing::bypassIndex),
             SingleEngineSum::find (gains, running, engineOutputs) };
}

void ChorusMix::render (EngineFrames& frames, const Stretch& stretch, const Channels& io, int blockStart,
                        int numSamples)
{
    forEachEngine (
        [&] (size_t k, auto& engine)
        {
            if (stretch.running[k])
            {
                engine.process (io.inLeft + blockStart, io.inRight + blockStart, frames[k], numSamples);
                engineOutputs[k] = { frames[k][2 * numSamples - 2], frames[k][2 * numSamples - 1] };
            }
            else if (! stretch.single.has_value())
            {
                const auto [left, right] = engineOutputs[k];
                const Float4 held (left, right, left, right);
                for (int i = 0; i < numSamples; i += 2)
                    held.store (frames[k] + 2 * i);
            }
        });
}

template <typename Lanes>
Lanes ChorusMix::mix (const EngineFrames& frames, const Stretch& stretch, int offset) const noexcept
{
    if (stretch.single.has_value())
        return stretch.single->at<Lanes> (frames[stretch.single->engine()], offset);

    const auto term = [&] (size_t k) { return load<Lanes> (frames[k] + offset) * stretch.gains[k]; };
    static_assert (numModes == 4, "the sum adds four engines, in this order");
    return ((term (0) + term (1)) + term (2)) + term (3);
}

template <typename Lanes>
void ChorusMix::finish (Lanes left, Lanes right, const Stretch& stretch, const Channels& io, int i,
                        Peaks<Lanes>& peaks) const noexcept
{
    const auto volume = stretch.volume, bypassMix = stretch.bypassMix;
    auto l = io.stereoOutput ? left * volume : (left + right) * volume;
    auto r = right * volume;
    if (bypassMix != 0.0f)
    {
        l = l * (1.0f - bypassMix) + load<Lanes> (io.dryLeft + i) * bypassMix;
        r = r * (1.0f - bypassMix) + load<Lanes> (io.dryRight + i) * bypassMix;
    }

    // max (x, peak) takes x only when it is larger, never a NaN.
    store (io.outLeft + i, l);
    peaks.left = max (l, peaks.left);
    if (io.stereoOutput)
    {
        store (io.outRight + i, r);
        peaks.right = max (r, peaks.right);
    }
    else
    {
        peaks.right = max (load<Lanes> (io.outRight + i), peaks.right); // the left channel again
    }
}

void ChorusMix::feedMeters (const Channels& io, int numSamples, Peaks<float> peaks, Peaks<Float4> peakLanes)
{
    float lanes[4];
    peakLanes.left.store (lanes);
    for (const auto peak : lanes)
        peaks.left = max (peak, peaks.left);
    peakLanes.right.store (lanes);
    for (const auto peak : lanes)
        peaks.right = max (peak, peaks.right);

    meters.feed (io.outLeft, io.outRight, numSamples, peaks.left, peaks.right);
}

void ChorusMix::stepControls()
{
    const auto changed = controls.step();

    if ((changed & ControlSmoothing::controlBit (ControlSmoothing::gainIndex)) != 0)
        volumeGain = juce::Decibels::decibelsToGain (controls.value (ControlSmoothing::gainIndex), -100.0f);

    if (changed != 0)
        pushControls (changed);
}

void ChorusMix::pushControls (ControlMask changed)
{
    pushEach (changed, std::make_index_sequence<ControlTable::numSmoothedControls>());
}

template <size_t... smoothed>
void ChorusMix::pushEach (ControlMask changed, std::index_sequence<smoothed...>)
{
    (pushControl<smoothed> (changed), ...);
}

template <size_t smoothed>
void ChorusMix::pushControl (ControlMask changed)
{
    constexpr auto target = ControlTable::smoothedControls[smoothed];
    constexpr auto engineValue = target.engineValue;

    if constexpr (engineValue != nullptr)
    {
        if ((changed & ControlSmoothing::controlBit (smoothed)) == 0)
            return;

        const auto value = controls.value (smoothed);
        if constexpr (target.mode == ControlTable::everyMode)
            forEachEngine ([value] (size_t, auto& engine)
                           { engine.template set<ControlTable::smoothedControls[smoothed].engineValue> (value); });
        else
            std::get<target.mode> (engines).template set<engineValue> (value);
    }
}

ChorusControls ChorusMix::controlsFor (size_t mode) const
{
    ChorusControls values;
    for (size_t smoothed = 0; smoothed < ControlTable::numSmoothedControls; ++smoothed)
        if (const auto& target = ControlTable::smoothedControls[smoothed]; ControlTable::feedsEngine (target, mode))
            values.*target.engineValue = controls.value (smoothed);
    return values;
}
