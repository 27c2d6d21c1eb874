#include "LFO.h"

#include <juce_core/juce_core.h>

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

// Both renderers compute what tick computes, (float) (table[j] x keep + table[j + 1] x fraction)
// in double, for several table positions at once.
#if TIDEWELL_SSE2
namespace
{
/** Lanes 0 and 1 of the result from the entry pairs p0 and p1, weighted by keep and fraction. */
__m128 interpolate (__m128d p0, __m128d p1, __m128d keep, __m128d fraction) noexcept
{
    const auto weighted = _mm_mul_pd (_mm_unpacklo_pd (p0, p1), keep);
    return _mm_cvtpd_ps (_mm_add_pd (weighted, _mm_mul_pd (_mm_unpackhi_pd (p0, p1), fraction)));
}

/** The phase advanced by one tick, wrapped below the table size. */
Float4 advance (Float4 phase, Float4 increment) noexcept
{
    const auto next = phase + increment;
    const Float4 size ((float) LFO::tableSize);
    return select (Float4 (_mm_cmpge_ps (next.v, size.v)), next - size, next);
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
            const auto fraction = four - i.toFloat();
            const auto fractionLow = _mm_cvtps_pd (fraction.v);
            const auto fractionHigh = _mm_cvtps_pd (_mm_movehl_ps (fraction.v, fraction.v));
            const auto one = _mm_set1_pd (1.0);
            const auto keepLow = _mm_sub_pd (one, fractionLow), keepHigh = _mm_sub_pd (one, fractionHigh);

            // The four ticks' values at table position j, one tick per lane.
            const auto read = [&] (Int4 j)
            {
                // Through memory: one store and four loads fetch the positions more cheaply than
                // extracting each lane.
                alignas (16) unsigned positions[4];
                _mm_store_si128 (reinterpret_cast<__m128i*> (positions), j.v);
                const auto low = interpolate (_mm_loadu_pd (wide + positions[0]), _mm_loadu_pd (wide + positions[1]),
                                              keepLow, fractionLow);
                const auto high = interpolate (_mm_loadu_pd (wide + positions[2]), _mm_loadu_pd (wide + positions[3]),
                                               keepHigh, fractionHigh);
                return _mm_movelh_ps (low, high);
            };
            const auto behind = [&i] (int k)
            {
                const auto j = i - Int4 (stepsBehind[k]);
                return j + (j.isNegative() & Int4 (tableSize));
            };

            auto lead240 = read (behind (2)), lead120 = read (behind (1)), value = read (i), again = value;
            _MM_TRANSPOSE4_PS (lead240, lead120, value, again);
            values[start + n] = Float4 (lead240);
            values[start + n + 1] = Float4 (lead120);
            values[start + n + 2] = Float4 (value);
            values[start + n + 3] = Float4 (again);
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
        const auto fraction = p - i.toFloat();
        const auto fractionLow = _mm_cvtps_pd (fraction.v);
        const auto fractionHigh = _mm_cvtps_pd (_mm_movehl_ps (fraction.v, fraction.v));
        const auto one = _mm_set1_pd (1.0);

        const auto low = interpolate (_mm_loadu_pd (wide[0] + i.lane<0>()), _mm_loadu_pd (wide[1] + i.lane<1>()),
                                      _mm_sub_pd (one, fractionLow), fractionLow);
        const auto high = interpolate (_mm_loadu_pd (wide[2] + i.lane<2>()), _mm_loadu_pd (wide[3] + i.lane<3>()),
                                       _mm_sub_pd (one, fractionHigh), fractionHigh);
        values[n] = Float4 (_mm_movelh_ps (low, high));

        p = advance (p, increment);
    }

    float phases[4];
    p.store (phases);
    for (int k = 0; k < 4; ++k)
        oscillators[k]->phase = phases[k];
}
#else
void LFO::renderWithLeads (Float4* values, int numSamples) noexcept
{
    for (int n = 0; n < numSamples; ++n)
    {
        const auto value = tick();
        values[n] = { phaseOutputs[2], phaseOutputs[1], value, value };
    }
}

void LFO::renderFour (LFO* const (&oscillators)[4], Float4* values, int numSamples) noexcept
{
    for (int n = 0; n < numSamples; ++n)
        values[n] = { oscillators[0]->tick(), oscillators[1]->tick(), oscillators[2]->tick(), oscillators[3]->tick() };
}
#endif
