#pragma once

#include "processor/dsp/Float4.h"
#include "processor/params/ControlTable.h"

#include <array>
#include <optional>
#include <utility>

/** The crossfade sum with one engine running, when every other engine adds a zero (its held pair
    times its gain), which is the steady state: the running engine's term plus the zero that the
    other terms would have left, without computing them. Adding -0 changes nothing and adding +0
    only turns a -0 into +0, so that zero is +0 if any of the zeros added to the term is +0, else
    -0; per channel. */
class SingleEngineSum
{
public:
    static constexpr auto numModes = ControlTable::numModes;

    /** The shortcut for the gains, the running modes and the pairs the engines that do not run hold;
        nothing unless exactly one engine runs and every other term is a zero. */
    static std::optional<SingleEngineSum> find (const std::array<float, numModes>& gains,
                                                const std::array<bool, numModes>& running,
                                                const std::array<std::pair<float, float>, numModes>& held) noexcept;

    /** The mode whose engine runs. */
    size_t engine() const noexcept { return runningEngine; }

    /** The sum at offset into the running engine's interleaved output pairs: one value, or four
        (two whole pairs, from an even offset). */
    template <typename Lanes>
    Lanes at (const float* frames, int offset) const noexcept
    {
        return Simd::load<Lanes> (frames + offset) * gain + Simd::load<Lanes> (zeros + offset % 2);
    }

private:
    SingleEngineSum (size_t engine, float engineGain) noexcept : runningEngine (engine), gain (engineGain) {}

    size_t runningEngine;
    float gain;
    float zeros[4] {}; // left, right, left, right, as the pairs are interleaved
};
