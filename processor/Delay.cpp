#include "Delay.h"

#include <algorithm>

void Delay::prepare (double newSampleRate)
{
    sampleRate = newSampleRate;
    // At least two slots, so that a nonsensical rate still leaves a buffer the taps can address.
    bufferSize = std::max (2, 2 * (int) sampleRate);
    buffer.reset();
    buffer.reset (new float[(size_t) bufferSize]());

    samplesPerMs = (float) sampleRate / 1000.0f;
    longestDelay = (float) (bufferSize - 1);

    writeIndex = 0;
    delayMs = 0.0f;
    setDelay (0.0f);
}

void Delay::rebuild (juce::OwnedArray<Delay>& lines, int count, double sampleRate)
{
    lines.clear();
    for (int i = 0; i < count; ++i)
        lines.add (new Delay())->prepare (sampleRate);
}
