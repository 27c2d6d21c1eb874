#include "ChorusEnsemble.h"

void ChorusEnsemble::prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls)
{
    prepareShared (newSampleRate, newNumOutputChannels, controls);

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
    applyRate();
    applyVibratoRate();
}

void ChorusEnsemble::processBlock (const float* inL, const float* inR, float* frames, int numSamples) noexcept
{
    Simd::Float4 chorus[engineBlockSize], vibrato[engineBlockSize];
    chorusLfo.renderWithLeads (chorus, numSamples);
    vibratoLfo.renderWithLeads (vibrato, numSamples);

    // The oscillators give their +240, +120, 0 and 0 degree phases: line A takes the +240 degree
    // phases on the left and the +120 degree phases on the right, line B the 0 degree phases on
    // both sides.
    Simd::Float4 in[engineBlockSize], wet[engineBlockSize];
    const auto amount = vibratoAmount, d = depth, t = delay;
    runLines (inL, inR, in, wet, numSamples,
              [&] (int i) { return ((vibrato[i] + 1.0f) * 0.5f * amount + (chorus[i] + 1.0f) * 0.5f) * d + t; });

    // Line A + line B on each side.
    finishWetChain ([&wet] (int i) { return wet[i] + wet[i].swappedHalves(); }, in, frames, numSamples, wetDry.wetGain);
}
