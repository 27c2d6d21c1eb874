#include "ChorusQuad.h"

void ChorusQuad::prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls)
{
    prepareShared (newSampleRate, newNumOutputChannels, controls);

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
    applyRate();
    applyVibratoRate();
}

void ChorusQuad::applyRate() noexcept
{
    chorusLfoLeft.setFrequency (rate);
    chorusLfoRight.setFrequency (rate * rightRateRatio);
}

void ChorusQuad::applyVibratoRate() noexcept
{
    vibratoLfoLeft.setFrequency (vibratoRate);
    vibratoLfoRight.setFrequency (vibratoRate * rightRateRatio);
}

void ChorusQuad::processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept
{
    // Lanes: chorus left, chorus right, vibrato left, vibrato right.
    Simd::Float4 modulation[engineBlockSize];
    LFO::renderFour ({ &chorusLfoLeft, &chorusLfoRight, &vibratoLfoLeft, &vibratoLfoRight }, modulation, numSamples);

    // Line A follows the chorus oscillator alone, from Delay + 0.31 ms up to Delay + Depth + 1.1 ms;
    // line B moves the other way and carries the vibrato.
    Simd::Float4 in[engineBlockSize], wet[engineBlockSize];
    const auto amount = vibratoAmount, d = depth, t = delay, spanA = depth + 0.79f;
    runLines (inL, inR, in, wet, numSamples,
              [&] (int i)
              {
                  const auto u = (lowHalves (modulation[i], modulation[i]) + 1.0f) * 0.5f;
                  const auto vibrato = highHalves (modulation[i], modulation[i]);
                  const auto lineA = spanA * u + t + 0.31f;
                  const auto lineB = t + d * ((1.0f - (vibrato + 1.0f) * 0.5f) * amount + (1.0f - u));
                  return lowHalves (lineA, lineB);
              });

    // Line A + line B on each side.
    finishWetChain ([&wet] (int i) { return wet[i] + wet[i].swappedHalves(); }, in, frames, numSamples, wetDry.wetGain);
}
