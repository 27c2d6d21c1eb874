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
    auto p = Float4 (phase);
    const Float4 increment (phaseIncrement);
    const auto* const wide = wideTable;
    const Int4 behindEach (_mm_setr_epi32 (stepsBehind[2], stepsBehind[1], 0, 0));

    for (int n = 0; n < numSamples; ++n)
    {
        const auto i = Int4::truncate (p);
        const auto fraction = _mm_cvtps_pd ((p - i.toFloat()).v);
        const auto keep = _mm_sub_pd (_mm_set1_pd (1.0), fraction);

        auto j = i - behindEach;
        j = j + (j.isNegative() & Int4 (tableSize));
        const auto main = _mm_loadu_pd (wide + j.lane<2>());
        const auto leads = interpolate (_mm_loadu_pd (wide + j.lane<0>()), _mm_loadu_pd (wide + j.lane<1>()), keep,
                                        fraction);
        values[n] = Float4 (_mm_movelh_ps (leads, interpolate (main, main, keep, fraction)));

        p = advance (p, increment);
    }

    phase = p.lane0();
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
