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

    Delay::rebuild (linesA, 2, sampleRate);
    Delay::rebuild (linesB, 2, sampleRate);
    dcBlockers.clear();
    dcBlockers.add (new DcBlocker());
    dcBlockers.add (new DcBlocker());
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
