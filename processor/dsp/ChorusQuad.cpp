#include "ChorusQuad.h"

void ChorusQuad::prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls)
{
    sampleRate = newSampleRate;
    numOutputChannels = newNumOutputChannels;

    depth = controls.depth;
    delay = controls.delay;

    setHighpass (controls.highpass);
    setLowpass (controls.lowpass);
    setWet (controls.wet);
    setSpread (controls.spread);

    for (auto* lfo : { &chorusLfoLeft, &chorusLfoRight })
    {
        lfo->fillTriangle();
        lfo->setSampleRate (sampleRate);
    }
    for (auto* lfo : { &vibratoLfoLeft, &vibratoLfoRight })
    {
        lfo->fillSine();
        lfo->setSampleRate (sampleRate);
    }

    // Always, also when the rates are unchanged, so that a new sample rate reaches the oscillators.
    rate = controls.rate;
    chorusLfoLeft.setFrequency (rate);
    chorusLfoRight.setFrequency (rate * rightRateRatio);
    vibratoRate = controls.vibratoRate;
    vibratoLfoLeft.setFrequency (vibratoRate);
    vibratoLfoRight.setFrequency (vibratoRate * rightRateRatio);

    setVibratoAmount (controls.vibratoAmount);

    lines.prepare (sampleRate);
    dcBlockers = {};
}

void ChorusQuad::setRate (float value) noexcept
{
    if (value != rate)
    {
        rate = value;
        chorusLfoLeft.setFrequency (value);
        chorusLfoRight.setFrequency (value * rightRateRatio);
    }
}

void ChorusQuad::setVibratoRate (float value) noexcept
{
    if (value != vibratoRate)
    {
        vibratoRate = value;
        vibratoLfoLeft.setFrequency (value);
        vibratoLfoRight.setFrequency (value * rightRateRatio);
    }
}

void ChorusQuad::process (const float* inL, const float* inR, float* frames, int numSamples) noexcept
{
    processInBlocks (inL, inR, frames, numSamples, [this] (auto... block) { processBlock (block...); });
}

void ChorusQuad::processSample (float inL, float inR, float& outL, float& outR) noexcept
{
    processOneSample (inL, inR, outL, outR, [this] (auto... block) { processBlock (block...); });
}

void ChorusQuad::processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept
{
    // Lanes: chorus left, chorus right, vibrato left, vibrato right.
    Float4 modulation[engineBlockSize];
    LFO::renderFour ({ &chorusLfoLeft, &chorusLfoRight, &vibratoLfoLeft, &vibratoLfoRight }, modulation, numSamples);

    Float4 in[engineBlockSize], delayMs[engineBlockSize], wet[engineBlockSize];

    // Line A follows the chorus oscillator alone, from Delay + 0.31 ms up to Delay + Depth + 1.1 ms;
    // line B moves the other way and carries the vibrato.
    const auto amount = vibratoAmount, d = depth, t = delay, spanA = depth + 0.79f;
    for (int i = 0; i < numSamples; ++i)
    {
        in[i] = stereoInput (inL, inR, i);
        const auto u = (lowHalves (modulation[i], modulation[i]) + 1.0f) * 0.5f;
        const auto vibrato = highHalves (modulation[i], modulation[i]);
        const auto lineA = spanA * u + t + 0.31f;
        const auto lineB = t + d * ((1.0f - (vibrato + 1.0f) * 0.5f) * amount + (1.0f - u));
        delayMs[i] = lowHalves (lineA, lineB);
    }

    lines.process (delayMs, in, wet, numSamples);

    // Line A + line B on each side.
    finishWetChain ([&wet] (int i) { return wet[i] + wet[i].swappedHalves(); }, in, frames, numSamples, toneFilters,
                    dcBlockers, width, wetDry, wetDry.wetGain, numOutputChannels);
}
