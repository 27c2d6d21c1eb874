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

    float sampleRate = 44100.0f;
    float phaseIncrement = 0.0f;
    float phase = 0.0f;
    float table[tableSize] {};
    float phaseOutputs[numPhaseOutputs] {};
    bool phaseOutputEnabled[numPhaseOutputs] {};
};

inline float LFO::tick() noexcept
{
    // Table steps each phase output reads behind the main position.
    static constexpr int stepsBehind[numPhaseOutputs] { 768, 683, 342, 256 };

    const auto i = (int) phase;
    const auto frac = (double) (phase - (float) i);
    const auto keep = 1.0 - frac;
    const auto next = i >= tableSize - 1 ? 0 : i + 1;

    for (int k = 0; k < numPhaseOutputs; ++k)
    {
        if (! phaseOutputEnabled[k])
            continue;

        auto j = i - stepsBehind[k];
        if (i < stepsBehind[k])
            j += tableSize;
        const auto jNext = j >= tableSize - 1 ? 0 : j + 1;
        phaseOutputs[k] = (float) ((double) table[j] * keep + (double) table[jNext] * frac);
    }

    phase += phaseIncrement;
    if (phase >= (float) tableSize)
        phase -= (float) tableSize;

    return (float) ((double) table[i] * keep + (double) table[next] * frac);
}
