#include "ChorusMix.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <type_traits>

namespace
{
constexpr auto numModes = ControlTable::numModes;

/** The crossfade sum with one engine running, when every other engine adds a zero (its held pair
    times its gain), which is the steady state. Adding -0 changes nothing and adding +0 only turns a
    -0 into +0, so the sum is the running engine's term plus +0 if any of the zeros added to it is
    +0, else plus -0; per channel. */
struct SingleEngine
{
    size_t engine;
    float zero[2];
    Float4 zeros;
};

std::optional<SingleEngine> singleRunningEngine (const std::array<float, numModes>& gains,
                                                 const std::array<bool, numModes>& running,
                                                 const std::array<std::pair<float, float>, numModes>& held) noexcept
{
    if (std::count (running.begin(), running.end(), true) != 1)
        return {};

    SingleEngine single { (size_t) (std::find (running.begin(), running.end(), true) - running.begin()), {}, {} };
    for (int channel = 0; channel < 2; ++channel)
    {
        // The zeros before the running engine are summed first; the rest are added one by one.
        auto prefix = -0.0f;
        auto plusZero = false;
        for (size_t k = 0; k < numModes; ++k)
        {
            if (k == single.engine)
                continue;
            const auto term = (channel == 0 ? held[k].first : held[k].second) * gains[k];
            if (term != 0.0f)
                return {};
            if (k < single.engine)
                prefix = k == 0 ? term : prefix + term;
            else
                plusZero = plusZero || ! std::signbit (term);
        }
        plusZero = plusZero || (single.engine > 0 && ! std::signbit (prefix));
        single.zero[channel] = plusZero ? 0.0f : -0.0f;
    }
    single.zeros = Float4 (single.zero[0], single.zero[1], single.zero[0], single.zero[1]);
    return single;
}
} // namespace

ChorusMix::ChorusMix (ControlSmoothing& controlsToFollow, MeterFeed& metersToFeed)
    : controls (controlsToFollow),
      meters (metersToFeed)
{
}

void ChorusMix::prepare (double sampleRate, int numInputChannels, int numOutputChannels, int maxSlice)
{
    dryBuffer.setSize (numInputChannels, maxSlice);
    forEachEngine ([this, sampleRate, numOutputChannels] (size_t k, auto& engine)
                   { engine.prepare (sampleRate, numOutputChannels, controlsFor (k)); });
}

void ChorusMix::processSlice (juce::AudioBuffer<float>& buffer, int start, int numSamples, int numInputChannels,
                              int numOutputChannels)
{
    const auto ins = juce::jmin (numInputChannels, buffer.getNumChannels(), dryBuffer.getNumChannels());
    const auto outs = juce::jmin (numOutputChannels, buffer.getNumChannels());

    for (auto channel = ins; channel < outs; ++channel)
        buffer.clear (channel, start, numSamples);

    if (ins == 0 || outs == 0)
        return;

    for (int channel = 0; channel < ins; ++channel)
        dryBuffer.copyFrom (channel, 0, buffer, channel, start, numSamples);

    const auto* inLeft = buffer.getReadPointer (0, start);
    const auto* inRight = buffer.getReadPointer (ins >= 2 ? 1 : 0, start);
    auto* outLeft = buffer.getWritePointer (0, start);
    auto* outRight = buffer.getWritePointer (outs >= 2 ? 1 : 0, start);
    const auto* dryLeft = dryBuffer.getReadPointer (0);
    const auto* dryRight = dryBuffer.getReadPointer (ins >= 2 ? 1 : 0);

    engineOutputs = {};
    auto peakLeft = 0.0f;
    auto peakRight = 0.0f;
    Float4 peaksLeft (0.0f), peaksRight (0.0f);

    for (int chunkStart = 0, chunkEnd = 0; chunkStart < numSamples; chunkStart = chunkEnd)
    {
        controlTick();

        // The engines run on through the ticks that would change nothing, in longer stretches.
        chunkEnd = juce::jmin (numSamples, chunkStart + controls.getControlInterval());
        while (chunkEnd < numSamples && controls.tickChangesNothing())
            chunkEnd = juce::jmin (numSamples, chunkEnd + controls.getControlInterval());
        const auto gains = controls.modeGains();
        const auto running = controls.runningModes();
        const auto volume = volumeGain;
        const auto bypassMix = controls.value (ControlSmoothing::bypassSlot);
        const auto single = singleRunningEngine (gains, running, engineOutputs);

        for (int blockStart = chunkStart; blockStart < chunkEnd; blockStart += engineBlockSize)
        {
            const auto n = juce::jmin (engineBlockSize, chunkEnd - blockStart);

            // Each engine's output pairs, interleaved; an engine that does not run repeats the
            // last pair it gave in this slice.
            alignas (16) float frames[numModes][2 * engineBlockSize];
            const auto render = [&] (size_t k, auto& engine)
            {
                if (running[k])
                {
                    engine.process (inLeft + blockStart, inRight + blockStart, frames[k], n);
                    engineOutputs[k] = { frames[k][2 * n - 2], frames[k][2 * n - 1] };
                }
                else if (! single.has_value())
                {
                    const Float4 held (engineOutputs[k].first, engineOutputs[k].second, engineOutputs[k].first,
                                       engineOutputs[k].second);
                    for (int i = 0; i < n; i += 2)
                        held.store (frames[k] + 2 * i);
                }
            };
            forEachEngine (render);

            // The rest of the path, on one frame (float) or on four (Float4, each lane a frame).
            const auto mixed = [&] (auto lanes, int offset)
            {
                using Lanes = decltype (lanes);
                const auto at = [&frames, offset] (size_t k)
                {
                    if constexpr (std::is_same_v<Lanes, float>)
                        return frames[k][offset];
                    else
                        return Float4::load (frames[k] + offset);
                };
                if (single.has_value())
                {
                    if constexpr (std::is_same_v<Lanes, float>)
                        return at (single->engine) * gains[single->engine] + single->zero[offset % 2];
                    else
                        return at (single->engine) * gains[single->engine] + single->zeros;
                }
                static_assert (numModes == 4, "the sum adds four engines, in this order");
                return ((at (0) * gains[0] + at (1) * gains[1]) + at (2) * gains[2]) + at (3) * gains[3];
            };
            const auto finish = [&] (auto left, auto right, int i, auto& peakOfLeft, auto& peakOfRight)
            {
                using Lanes = decltype (left);
                const auto load = [] (const float* p)
                {
                    if constexpr (std::is_same_v<Lanes, float>)
                        return *p;
                    else
                        return Float4::load (p);
                };
                const auto store = [] (float* p, Lanes x)
                {
                    if constexpr (std::is_same_v<Lanes, float>)
                        *p = x;
                    else
                        x.store (p);
                };
                // jmax (peak, x): x only when it is larger, never a NaN.
                const auto raise = [] (auto& peak, Lanes x)
                {
                    if constexpr (std::is_same_v<Lanes, float>)
                        peak = juce::jmax (peak, x);
                    else
                        peak = max (x, peak);
                };

                auto l = outs == 2 ? left * volume : (left + right) * volume;
                auto r = right * volume;
                if (bypassMix != 0.0f)
                {
                    l = l * (1.0f - bypassMix) + load (dryLeft + i) * bypassMix;
                    r = r * (1.0f - bypassMix) + load (dryRight + i) * bypassMix;
                }

                store (outLeft + i, l);
                raise (peakOfLeft, l);
                if (outs == 2)
                {
                    store (outRight + i, r);
                    raise (peakOfRight, r);
                }
                else
                {
                    raise (peakOfRight, load (outRight + i)); // the left channel again, or one left alone
                }
            };

            int j = 0;
            for (; j + 4 <= n; j += 4)
            {
                const auto first = mixed (Float4(), 2 * j), second = mixed (Float4(), 2 * j + 4);
                finish (evenLanes (first, second), oddLanes (first, second), blockStart + j, peaksLeft, peaksRight);
            }
            for (; j < n; ++j)
                finish (mixed (0.0f, 2 * j), mixed (0.0f, 2 * j + 1), blockStart + j, peakLeft, peakRight);
        }
    }

    float lanes[4];
    peaksLeft.store (lanes);
    for (const auto peak : lanes)
        peakLeft = juce::jmax (peakLeft, peak);
    peaksRight.store (lanes);
    for (const auto peak : lanes)
        peakRight = juce::jmax (peakRight, peak);

    meters.feed (outLeft, outRight, numSamples, peakLeft, peakRight);
    controls.finishSlice();
}

void ChorusMix::controlTick()
{
    const auto changed = controls.tick();

    if ((changed & ControlSmoothing::slotBit (ControlSmoothing::gainSlot)) != 0)
        volumeGain = juce::Decibels::decibelsToGain (controls.value (ControlSmoothing::gainSlot), -100.0f);

    if (changed != 0)
        pushControls (changed);
}

void ChorusMix::pushControls (SlotMask changedSlots)
{
    pushSlots (changedSlots, std::make_index_sequence<ControlTable::numSlots>());
}

template <size_t... slot>
void ChorusMix::pushSlots (SlotMask changedSlots, std::index_sequence<slot...>)
{
    (pushSlot<slot> (changedSlots), ...);
}

template <size_t slot>
void ChorusMix::pushSlot (SlotMask changedSlots)
{
    constexpr auto target = ControlTable::slots[slot];
    constexpr auto engineValue = target.engineValue;

    if constexpr (engineValue != nullptr)
    {
        if ((changedSlots & ControlSmoothing::slotBit (slot)) == 0)
            return;

        const auto value = controls.value (slot);
        if constexpr (target.mode == ControlTable::everyMode)
            forEachEngine ([value] (size_t, auto& engine)
                           { engine.template set<ControlTable::slots[slot].engineValue> (value); });
        else
            std::get<target.mode> (engines).template set<engineValue> (value);
    }
}

ChorusControls ChorusMix::controlsFor (size_t mode) const
{
    ChorusControls values;
    for (size_t slot = 0; slot < ControlTable::numSlots; ++slot)
        if (const auto& target = ControlTable::slots[slot]; ControlTable::feedsEngine (target, mode))
            values.*target.engineValue = controls.value (slot);
    return values;
}
