#include "ChorusSixty.h"

void ChorusSixty::prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls)
{
    prepareShared (newSampleRate, newNumOutputChannels, controls);

    // Also when the rate is unchanged, so that a new sample rate reaches the sweep.
    applyRate();
}

void ChorusSixty::processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept
{
    Simd::Float4 in[engineBlockSize], wet[engineBlockSize];
    auto sweepNow = sweep; // locals, so that the stores into the arrays do not force them back to memory
    const auto d = depth, t = delay;
    runLines (inL, inR, in, wet, numSamples, [&] (int) { return sweepNow.stepOppositeDelays (d, t); });
    sweep = sweepNow;

    finishWetChain ([&wet] (int i) { return wet[i]; }, in, frames, numSamples, boost);
}
