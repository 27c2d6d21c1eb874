#include "ChorusJuno.h"

void ChorusJuno::prepare (double newSampleRate, int newNumOutputChannels, const ChorusControls& controls)
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

    Delay::rebuild (delays, 2, sampleRate);
    dcBlockers.clear();
    dcBlockers.add (new DcBlocker());
    dcBlockers.add (new DcBlocker());
}

void ChorusJuno::setRate (float value) noexcept
{
    if (value != rate)
    {
        rate = value;
        sweep.setRate (value, sampleRate);
    }
}

void ChorusJuno::setWet (float value) noexcept
{
    wetDry.setWet (value);
    boost = wetDry.wetGain * 1.36f;
}
