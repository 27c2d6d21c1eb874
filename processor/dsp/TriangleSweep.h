#pragma once

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
};
