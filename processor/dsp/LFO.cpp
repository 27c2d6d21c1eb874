#include "LFO.h"

#include <juce_core/juce_core.h>

#include <cmath>

using Simd::Double2;
using Simd::Float4;
using Simd::Int4;

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
    widen();
}

void LFO::fillSine() noexcept
{
    constexpr double twoPi = 6.283185307179586476925286766559;

    for (int i = 0; i < tableSize; ++i)
        table[i] = (float) std::sin ((double) i * 0.0009765625 * twoPi);
    table[tableSize] = table[0];
    widen();
}

void LFO::enablePhaseOutput (int k) noexcept
{
    if (k >= 0 && k < numPhaseOutputs)
        phaseOutputEnabled[k] = true;
}

void LFO::widen() noexcept
{
    for (int i = 0; i <= tableSize; ++i)
        wideTable[i] = (double) table[i];
}

namespace
{
/** What tick computes, (float) (table[j] x keep + table[j + 1] x fraction) in double, for four
    table positions at once, each with its own fraction. low reads lanes 0 and 1 from the entry pairs
    that its arguments point to, high lanes 2 and 3; lowHalves (low, high) holds all four. */
class FourReads
{
public:
    explicit FourReads (Float4 fraction) noexcept
        : fractionLow (Double2::widenLow (fraction)),
          fractionHigh (Double2::widenHigh (fraction)),
          keepLow (Double2 (1.0) - fractionLow),
          keepHigh (Double2 (1.0) - fractionHigh)
    {
    }

    // The halves are formed, and rounded to float, one after the other: in this order the second
    // half's loads overlap the first half's arithmetic, which measured faster than forming both
    // halves in double first.
    Float4 low (const double* pair0, const double* pair1) const noexcept
    {
        return weigh (Double2::load (pair0), Double2::load (pair1), keepLow, fractionLow).narrowed();
    }
    Float4 high (const double* pair2, const double* pair3) const noexcept
    {
        return weigh (Double2::load (pair2), Double2::load (pair3), keepHigh, fractionHigh).narrowed();
    }

private:
    /** Two reads, from the entry pairs p and q. */
    static Double2 weigh (Double2 p, Double2 q, Double2 keep, Double2 fraction) noexcept
    {
        return interleaveLow (p, q) * keep + interleaveHigh (p, q) * fraction;
    }

    Double2 fractionLow, fractionHigh, keepLow, keepHigh;
};

/** The phase advanced by one tick, wrapped below the table size. */
Float4 advance (Float4 phase, Float4 increment) noexcept
{
    const auto next = phase + increment;
    const Float4 size ((float) LFO::tableSize);
    return select (next >= size, next - size, next);
}
} // namespace

void LFO::renderWithLeads (Float4* values, int numSamples) noexcept
{
    // The phases advance one after the other; the table reads then take four ticks at a time.
    constexpr int chunk = 64;
    float phases[chunk];
    const auto* const wide = wideTable;

    for (int start = 0; start < numSamples; start += chunk)
    {
        const auto count = juce::jmin (chunk, numSamples - start);
        auto p = phase;
        for (int n = 0; n < count; ++n)
        {
            phases[n] = p;
            p += phaseIncrement;
            if (p >= (float) tableSize)
                p -= (float) tableSize;
        }
        phase = p;
        for (int n = count; n < chunk && n % 4 != 0; ++n)
            phases[n] = 0.0f; // a valid position, read and discarded

        for (int n = 0; n < count; n += 4)
        {
            const auto four = Float4::load (phases + n);
            const auto i = Int4::truncate (four);
            const FourReads reads (four - i.toFloat());

            // The four ticks' values at table position j, one tick per lane.
            const auto read = [&] (Int4 j)
            {
                // Unsigned, so that the positions widen without a sign extension.
                const auto low = reads.low (wide + (unsigned) j.lane<0>(), wide + (unsigned) j.lane<1>());
                const auto high = reads.high (wide + (unsigned) j.lane<2>(), wide + (unsigned) j.lane<3>());
                return lowHalves (low, high);
            };
            const auto behind = [&i] (int k)
            {
                const auto j = i - Int4 (stepsBehind[k]);
                return j + (j.isNegative() & Int4 (tableSize));
            };

            auto lead240 = read (behind (2)), lead120 = read (behind (1)), value = read (i), again = value;
            transpose (lead240, lead120, value, again);
            values[start + n] = lead240;
            values[start + n + 1] = lead120;
            values[start + n + 2] = value;
            values[start + n + 3] = again;
        }
    }

    if (numSamples > 0)
    {
        phaseOutputs[2] = values[numSamples - 1].lane0();
        phaseOutputs[1] = values[numSamples - 1].lane1();
    }
}

void LFO::renderFour (LFO* const (&oscillators)[4], Float4* values, int numSamples) noexcept
{
    auto p = Float4 (oscillators[0]->phase, oscillators[1]->phase, oscillators[2]->phase, oscillators[3]->phase);
    const Float4 increment (oscillators[0]->phaseIncrement, oscillators[1]->phaseIncrement,
                            oscillators[2]->phaseIncrement, oscillators[3]->phaseIncrement);
    const double* const wide[4] { oscillators[0]->wideTable, oscillators[1]->wideTable, oscillators[2]->wideTable,
                                  oscillators[3]->wideTable };

    for (int n = 0; n < numSamples; ++n)
    {
        const auto i = Int4::truncate (p);
        const FourReads reads (p - i.toFloat());
        const auto low = reads.low (wide[0] + i.lane<0>(), wide[1] + i.lane<1>());
        const auto high = reads.high (wide[2] + i.lane<2>(), wide[3] + i.lane<3>());
        values[n] = lowHalves (low, high);
        p = advance (p, increment);
    }

    float phases[4];
    p.store (phases);
    for (int k = 0; k < 4; ++k)
        oscillators[k]->phase = phases[k];
}
