#pragma once

#include "Float4.h"

/** What the four engines share in their block processing: each works through its input in blocks
    of at most engineBlockSize samples, whose intermediate values stay on the stack, with the left
    channel in lanes 0 and 2 of a Float4 and the right one in lanes 1 and 3. */
constexpr int engineBlockSize = 64;

inline Simd::Float4 stereoInput (const float* inL, const float* inR, int i) noexcept
{
    const auto left = inL[i], right = inR[i];
    return { left, right, left, right };
}

/** Writes lanes 0 and 1 of out as frame i of frames (left, right interleaved); a one-channel output
    gets their average on the left and 0 on the right. */
inline void storeFrame (Simd::Float4 out, float* frames, int i, int numOutputChannels) noexcept
{
    if (numOutputChannels == 1)
    {
        frames[2 * i] = (out.lane0() + out.lane1()) * 0.5f;
        frames[2 * i + 1] = 0.0f;
    }
    else
    {
        out.storePair (frames + 2 * i);
    }
}
