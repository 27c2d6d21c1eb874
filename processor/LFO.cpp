#include "LFO.h"

#include <cmath>

void LFO::setSampleRate (double sr) noexcept
{
    const auto rate = (float) sr;
    sampleRate = rate > 0.0f ? rate : 44100.0f;
}

void LFO::setFrequency (float hz) noexcept
{
    phaseIncrement = (float) ((double) hz * (double) tableSize / (double) sampleRate);
}

void LFO::fillTriangle() noexcept
{
    constexpr float step = 0.00390625f; // 1 / 256

    for (int i = 0; i < 256; ++i)
    {
        table[i] = (float) i * step;
        table[256 + i] = (float) (256 - i) * step;
        table[512 + i] = (float) -i * step;
        table[768 + i] = (float) (i - 256) * step;
    }
    table[tableSize] = table[0];
}

void LFO::fillSine() noexcept
{
    constexpr double twoPi = 6.283185307179586476925286766559;

    for (int i = 0; i < tableSize; ++i)
        table[i] = (float) std::sin ((double) i * 0.0009765625 * twoPi);
    table[tableSize] = table[0];
}

void LFO::enablePhaseOutput (int k) noexcept
{
    if (k >= 0 && k < numPhaseOutputs)
        phaseOutputEnabled[k] = true;
}
