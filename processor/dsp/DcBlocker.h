#pragma once

#include "Float4.h"

/** One-pole DC blocker: removes the offset that the summed and filtered delay taps can carry.
    Sample is float, or Float4 for one blocker per lane. */
template <typename Sample>
struct BasicDcBlocker
{
    Sample lastInput = 0.0f;
    Sample lastOutput = 0.0f;
    Sample output = 0.0f;

    Sample process (Sample x) noexcept
    {
        const auto y = 0.995f * lastOutput + (x - lastInput);
        output = y;
        lastInput = x;
        lastOutput = y;
        return y;
    }
};

using DcBlocker = BasicDcBlocker<float>;
