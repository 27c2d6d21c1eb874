#pragma once

#include "DcBlocker.h"
#include "Float4.h"
#include "StereoWidth.h"
#include "ToneFilters.h"
#include "WetDryLaw.h"

#include <algorithm>

/** What the four engines share in their block processing: each works through its input in blocks
    of at most engineBlockSize samples, whose intermediate values stay on the stack, with the left
    channel in lanes 0 and 2 of a Float4 and the right one in lanes 1 and 3. */
constexpr int engineBlockSize = 64;

inline Float4 stereoInput (const float* inL, const float* inR, int i) noexcept
{
    const auto left = inL[i], right = inR[i];
    return { left, right, left, right };
}

/** Writes lanes 0 and 1 of out as frame i of frames (left, right interleaved); a one-channel output
    gets their average on the left and 0 on the right. */
inline void storeFrame (Float4 out, float* frames, int i, int numOutputChannels) noexcept
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

/** Hands an engine's processBlock (which takes at most engineBlockSize samples) any number of
    samples, piece by piece. */
template <typename ProcessBlock>
void processInBlocks (const float* inL, const float* inR, float* frames, int numSamples,
                      ProcessBlock&& processBlock) noexcept
{
    for (int start = 0; start < numSamples; start += engineBlockSize)
        processBlock (inL + start, inR + start, frames + 2 * start, std::min (engineBlockSize, numSamples - start));
}

/** One sample pair through an engine's processBlock. */
template <typename ProcessBlock>
void processOneSample (float inL, float inR, float& outL, float& outR, ProcessBlock&& processBlock) noexcept
{
    float frame[2];
    processBlock (&inL, &inR, frame, 1);
    outL = frame[0];
    outR = frame[1];
}

/** The chain after the delay lines of the Sixty, Ensemble and Quad engines: highpass, lowpass, DC
    blocker, width stage and the wet/dry law with wetScale, on wet (i) against the dry input in[i],
    into frames. One loop, so that the processor overlaps the filters' recurrences. */
template <typename Wet>
void finishWetChain (Wet&& wet, const Float4* in, float* frames, int numSamples, ToneFilters& toneFilters,
                     BasicDcBlocker<Float4>& dcBlockers, const StereoWidth& width, const WetDryLaw& wetDry,
                     float wetScale, int numOutputChannels) noexcept
{
    auto dc = dcBlockers; // a local, so that the stores into frames do not force it back to memory
    const auto law = wetDry;
    toneFilters.process (numSamples, wet,
                         [&] (int i, Float4 toned)
                         {
                             const auto w = width.process (dc.process (toned));
                             storeFrame (law.mix (w, in[i], wetScale), frames, i, numOutputChannels);
                         });
    dcBlockers = dc;
}
