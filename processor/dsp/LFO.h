#pragma once

#include "Float4.h"

/** Wavetable oscillator: one cycle in a 1024-step table, read with linear interpolation, with up
    to four extra outputs that read the same table at fixed phase leads. */
class LFO
{
public:
    static constexpr int tableSize = 1024;
    static constexpr int numPhaseOutputs = 4;

    virtual ~LFO() = default;

    /** Falls back to 44100 for a rate that is not positive, so the increment stays finite. */
    void setSampleRate (double sr) noexcept;
    void setFrequency (float hz) noexcept;

    void fillTriangle() noexcept;
    void fillSine() noexcept;

    /** Output 0 leads by 90 degrees, 1 by 120, 2 by 240, 3 by 270. */
    void enablePhaseOutput (int k) noexcept;

    /** Returns the value at the current phase, refreshes the enabled phase outputs for that
        same phase, then advances. The block renderers give, bit for bit, what it gives. */
    float tick() noexcept;

    /** numSamples ticks with phase outputs 1 and 2 (which must be enabled): values[i] holds tick
        i's output 2 (+240 degrees), output 1 (+120 degrees) and, twice, its value. values needs
        room for numSamples rounded up to a multiple of 4; the entries past numSamples are
        unspecified. */
    void renderWithLeads (Simd::Float4* values, int numSamples) noexcept;

    /** numSamples ticks of four oscillators at once: lane k of values[i] is what tick i of
        oscillators[k] returns. */
    static void renderFour (LFO* const (&oscillators)[4], Simd::Float4* values, int numSamples) noexcept;

    float sampleRate = 44100.0f;
    float phaseIncrement = 0.0f;
    float phase = 0.0f;
    // The last entry repeats the first, so that interpolation past the end needs no wrap.
    float table[tableSize + 1] {};
    float phaseOutputs[numPhaseOutputs] {};
    bool phaseOutputEnabled[numPhaseOutputs] {};

private:
    /** Copies the table into wideTable. */
    void widen() noexcept;

    // The table in double, so that one load fetches both entries of an interpolation, already
    // widened as the interpolation in double needs them.
    double wideTable[tableSize + 1] {};

    // Table steps each phase output reads behind the main position.
    static constexpr int stepsBehind[numPhaseOutputs] { 768, 683, 342, 256 };

    /** The table between entry j and the next, weighted in double as keep and fraction. */
    float read (int j, double keep, double fraction) const noexcept
    {
        return (float) ((double) table[j] * keep + (double) table[j + 1] * fraction);
    }

    static int behind (int i, int k) noexcept
    {
        return i < stepsBehind[k] ? i - stepsBehind[k] + tableSize : i - stepsBehind[k];
    }
};

inline float LFO::tick() noexcept
{
    const auto i = (int) phase;
    const auto frac = (double) (phase - (float) i);
    const auto keep = 1.0 - frac;

    for (int k = 0; k < numPhaseOutputs; ++k)
        if (phaseOutputEnabled[k])
            phaseOutputs[k] = read (behind (i, k), keep, frac);

    phase += phaseIncrement;
    if (phase >= (float) tableSize)
        phase -= (float) tableSize;

    return read (i, keep, frac);
}
