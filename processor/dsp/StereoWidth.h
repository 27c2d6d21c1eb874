#pragma once

#include "Float4.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>

/** The Spread control (0 to 200 percent) and the mid/side stage it drives on an engine's wet pair.
    100 percent leaves the pair alone, 0 percent makes it mono, above 100 percent the side is
    raised and the mid lowered. */
class StereoWidth
{
public:
    float midDb = 0.0f;
    float sideDb = 0.0f;

    void setSpread (float s) noexcept
    {
        if (s >= 100.0f)
        {
            sideDb = (s - 100.0f) * 0.06f;
            midDb = (s - 100.0f) * -0.02f;
        }
        else
        {
            auto p = juce::jlimit (0.0f, 1.0f, s * 0.01f);
            if (p > 0.0f)
                p = std::exp (std::log (p) / 2.5257072f);
            sideDb = p * 100.0f - 100.0f;
            midDb = 0.0f;
        }

        // The gains depend on the spread alone, so they are formed here rather than per sample.
        midGain = juce::Decibels::decibelsToGain (midDb);
        sideGain = juce::Decibels::decibelsToGain (sideDb);
    }

    void process (float& left, float& right) const noexcept
    {
        if (sideDb == 0.0f)
            return;

        const auto m = (left + right) * 0.5f * midGain;
        const auto d = (left - right) * 0.5f * sideGain;
        left = m + d;
        right = m - d;
    }

    /** process on a left sample in lane 0 and a right one in lane 1; lanes 2 and 3 of the result
        are copies of them. */
    Simd::Float4 process (Simd::Float4 x) const noexcept
    {
        if (sideDb == 0.0f)
            return x;

        const auto left = x.broadcastLane<0>();
        const auto right = x.broadcastLane<1>();
        const auto m = (left + right) * 0.5f * midGain;
        const auto d = (left - right) * 0.5f * sideGain;
        return m + d.negateOddLanes(); // adding the negation is the subtraction, bit for bit
    }

private:
    float midGain = 1.0f;
    float sideGain = 1.0f;
};
