#pragma once

/** One-pole DC blocker: removes the offset that the summed and filtered delay taps can carry. */
struct DcBlocker
{
    float lastInput = 0.0f;
    float lastOutput = 0.0f;
    float output = 0.0f;

    float process (float x) noexcept
    {
        const auto y = 0.995f * lastOutput + (x - lastInput);
        output = y;
        lastInput = x;
        lastOutput = y;
        return y;
    }
};
