#pragma once

#include "Float4.h"

/** The hand-stepped triangle modulator of the Sixty and Studio engines, running between -1 and +1.
    It turns only after passing a bound, so it overshoots by up to one increment. */
struct TriangleSweep
{
    float sweepValue = 0.0f;
    float sweepDirection = 1.0f;
    float sweepIncrement = 0.0f;

    /** Four units of travel per cycle, so one cycle lasts sampleRate / rate samples. */
    void setRate (float rate, double sampleRate) noexcept { sweepIncrement = (rate / (float) sampleRate) * 4.0f; }

    float step() noexcept
    {
        if (sweepValue >= 1.0f)
            sweepDirection = -1.0f;
        else if (sweepValue <= -1.0f)
            sweepDirection = 1.0f;

        sweepValue = sweepValue + sweepDirection * sweepIncrement;
        return sweepValue;
    }

    /** One step, as the delays of two lines that move in opposite directions between delay and
        delay + depth milliseconds: the left line's in lanes 0 and 2, the right one's in lanes 1 and 3. */
    Simd::Float4 stepOppositeDelays (float depth, float delay) noexcept
    {
        const auto v = step();
        const auto left = (1.0f - (v + 1.0f) * 0.5f) * depth + delay;
        const auto right = ((v + 1.0f) * 0.5f) * depth + delay;
        return { left, right, left, right };
    }
};
