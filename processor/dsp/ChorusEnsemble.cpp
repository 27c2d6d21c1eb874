#include "ChorusEnsemble.h"

void ChorusEnsemble::prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls)
{
    sampleRate = newSampleRate;
    numOutputChannels = newNumOutputChannels;

    depth = controls.depth;
    delay = controls.delay;

    setHighpass (controls.highpass);
    setLowpass (controls.lowpass);
    setWet (controls.wet);
    setSpread (controls.spread);

    chorusLfo.fillTriangle();
    chorusLfo.setSampleRate (sampleRate);
    vibratoLfo.fillSine();
    vibratoLfo.setSampleRate (sampleRate);
    for (auto* lfo : { &chorusLfo, &vibratoLfo })
    {
        lfo->enablePhaseOutput (1);
        lfo->enablePhaseOutput (2);
    }

    // Always, also when the rates are unchanged, so that a new sample rate reaches the oscillators.
    rate = controls.rate;
    chorusLfo.setFrequency (rate);
    vibratoRate = controls.vibratoRate;
    vibratoLfo.setFrequency (vibratoRate);

    setVibratoAmount (controls.vibratoAmount);

    lines.prepare (sampleRate);
    dcBlockers = {};
}

void ChorusEnsemble::setRate (float value) noexcept
{
    if (value != rate)
    {
        rate = value;
        chorusLfo.setFrequency (value);
    }
}

void ChorusEnsemble::setVibratoRate (float value) noexcept
{
    if (value != vibratoRate)
    {
        vibratoRate = value;
        vibratoLfo.setFrequency (value);
    }
}

void ChorusEnsemble::process (const float* inL, const float* inR, float* frames, int numSamples) noexcept
{
    processInBlocks (inL, inR, frames, numSamples, [this] (auto... block) { processBlock (block...); });
}

void ChorusEnsemble::processSample (float inL, float inR, float& outL, float& outR) noexcept
{
    processOneSample (inL, inR, outL, outR, [this] (auto... block) { processBlock (block...); });
}

void ChorusEnsemble::processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept
{
    Float4 chorus[engineBlockSize], vibrato[engineBlockSize];
    chorusLfo.renderWithLeads (chorus, numSamples);
    vibratoLfo.renderWithLeads (vibrato, numSamples);

    Float4 in[engineBlockSize], delayMs[engineBlockSize], wet[engineBlockSize];

    // The oscillators give their +240, +120, 0 and 0 degree phases: line A takes the +240 degree
    // phases on the left and the +120 degree phases on the right, line B the 0 degree phases on
    // both sides. Every line's delay is ((vibrato + 1) x 0.5 x amount + (chorus + 1) x 0.5) x depth
    // + delay.
    const auto amount = vibratoAmount, d = depth, t = delay;
    for (int i = 0; i < numSamples; ++i)
    {
        in[i] = stereoInput (inL, inR, i);
        delayMs[i] = ((vibrato[i] + 1.0f) * 0.5f * amount + (chorus[i] + 1.0f) * 0.5f) * d + t;
    }

    lines.process (delayMs, in, wet, numSamples);

    // Line A + line B on each side.
    finishWetChain ([&wet] (int i) { return wet[i] + wet[i].swappedHalves(); }, in, frames, numSamples, toneFilters,
                    dcBlockers, width, wetDry, wetDry.wetGain, numOutputChannels);
}
