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

    Delay::rebuild (linesA, 2, sampleRate);
    Delay::rebuild (linesB, 2, sampleRate);
    dcBlockers.clear();
    dcBlockers.add (new DcBlocker());
    dcBlockers.add (new DcBlocker());
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
