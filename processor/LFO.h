#pragma once

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
        same phase, then advances. */
    float tick() noexcept;

    /** numSamples ticks: values[i] receives what tick i returns. With lead120 and lead240, which
        need phase outputs 1 and 2 enabled, they receive those outputs of tick i; the outputs
        themselves are left as the last tick leaves them. */
    void render (float* values, int numSamples, float* lead120 = nullptr, float* lead240 = nullptr) noexcept;

    float sampleRate = 44100.0f;
    float phaseIncrement = 0.0f;
    float phase = 0.0f;
    // The last entry repeats the first, so that interpolation past the end needs no wrap.
    float table[tableSize + 1] {};
    float phaseOutputs[numPhaseOutputs] {};
    bool phaseOutputEnabled[numPhaseOutputs] {};

private:
    // Table steps each phase output reads behind the main position.
    static constexpr int stepsBehind[numPhaseOutputs] { 768, 683, 342, 256 };

    /** The table between entry j and the next, weighted in double as keep and fraction. */
    float read (int j, double keep, double fraction) const noexcept
    {
        return (float) ((double) table[j] * keep + (double) table[j + 1] * fraction);
    }

    static int behind (int i, int k) noexcept { return i < stepsBehind[k] ? i - stepsBehind[k] + tableSize : i - stepsBehind[k]; }
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

inline void LFO::render (float* values, int numSamples, float* lead120, float* lead240) noexcept
{
    // Locals, so that the stores into the outputs do not force the phase back to memory.
    auto p = phase;
    const auto increment = phaseIncrement;

    for (int n = 0; n < numSamples; ++n)
    {
        const auto i = (int) p;
        const auto frac = (double) (p - (float) i);
        const auto keep = 1.0 - frac;

        if (lead120 != nullptr)
        {
            lead120[n] = read (behind (i, 1), keep, frac);
            lead240[n] = read (behind (i, 2), keep, frac);
        }

        p += increment;
        if (p >= (float) tableSize)
            p -= (float) tableSize;

        values[n] = read (i, keep, frac);
    }

    phase = p;
    if (lead120 != nullptr && numSamples > 0)
    {
        phaseOutputs[1] = lead120[numSamples - 1];
        phaseOutputs[2] = lead240[numSamples - 1];
    }
}
