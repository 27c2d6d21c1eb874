#include "ChorusSixty.h"

void ChorusSixty::prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls)
{
    sampleRate = newSampleRate;
    numOutputChannels = newNumOutputChannels;

    rate = controls.rate;
    depth = controls.depth;
    delay = controls.delay;

    setHighpass (controls.highpass);
    setLowpass (controls.lowpass);
    setWet (controls.wet);
    setSpread (controls.spread);

    // Also when the rate is unchanged, so that a new sample rate reaches the sweep.
    sweep.setRate (rate, sampleRate);

    lines.prepare (sampleRate);
    dcBlockers = {};
}

void ChorusSixty::setRate (float value) noexcept
{
    if (value != rate)
    {
        rate = value;
        sweep.setRate (value, sampleRate);
    }
}

void ChorusSixty::setWet (float value) noexcept
{
    wetDry.setWet (value);
    boost = wetDry.wetGain * 1.36f;
}

void ChorusSixty::process (const float* inL, const float* inR, float* frames, int numSamples) noexcept
{
    processInBlocks (inL, inR, frames, numSamples, [this] (auto... block) { processBlock (block...); });
}

void ChorusSixty::processSample (float inL, float inR, float& outL, float& outR) noexcept
{
    processOneSample (inL, inR, outL, outR, [this] (auto... block) { processBlock (block...); });
}

void ChorusSixty::processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept
{
    Float4 in[engineBlockSize], delayMs[engineBlockSize], wet[engineBlockSize];

    auto sweepNow = sweep; // locals, so that the stores into the arrays do not force them back to memory
    const auto d = depth, t = delay;
    for (int i = 0; i < numSamples; ++i)
    {
        in[i] = stereoInput (inL, inR, i);
        const auto v = sweepNow.step();
        const auto left = (1.0f - (v + 1.0f) * 0.5f) * d + t;
        const auto right = ((v + 1.0f) * 0.5f) * d + t;
        delayMs[i] = { left, right, left, right };
    }
    sweep = sweepNow;

    lines.process (delayMs, in, wet, numSamples);

    finishWetChain ([&wet] (int i) { return wet[i]; }, in, frames, numSamples, toneFilters, dcBlockers, width, wetDry,
                    boost, numOutputChannels);
}
