#include "DelayLines.h"

#include <algorithm>
#include <iterator>

template <int numLines>
void DelayLines<numLines>::prepare (double sampleRate)
{
    // At least two slots, so that a nonsensical rate still leaves a buffer the taps can address.
    bufferSize = std::max (2, 2 * (int) sampleRate);
    buffer.reset();
    buffer.reset (new float[(size_t) (bufferSize * slotSize)]());

    samplesPerMs = (float) sampleRate / 1000.0f;
    longestDelay = (float) (bufferSize - 1);

    writeIndex = 0;
    lastWritten = Simd::Float4 (0.0f);
    std::fill (std::begin (lastDelayMs), std::end (lastDelayMs), 0.0f);
    std::fill (std::begin (lastDelaySamples), std::end (lastDelaySamples), 0.0f);
}

template class DelayLines<2>;
template class DelayLines<4>;
