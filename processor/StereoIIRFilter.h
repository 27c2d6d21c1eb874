#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>

/** A pair of biquads, one per channel, sharing one coefficient set designed by
    juce::IIRCoefficients. Each channel's arithmetic, in its order and with its snapping of outputs
    within 1e-8 of zero, is that of juce::IIRFilter::processSingleSampleRaw, so the results are
    identical. Defined here so that it inlines into the engines' per-sample step, loads the
    coefficients once for both channels and snaps without a branch on the signal's sign (which
    noise-like audio mispredicts). It takes no lock: coefficients change only on the audio thread
    or while no audio runs. */
class StereoIIRFilter
{
public:
    void setCoefficients (const juce::IIRCoefficients& newCoefficients) noexcept { coefficients = newCoefficients; }
    const juce::IIRCoefficients& getCoefficients() const noexcept { return coefficients; }

    /** Filters x[0] (left) and x[1] (right) in place. */
    void process (float (&x)[2]) noexcept
    {
        const auto* c = coefficients.coefficients;

        for (int channel = 0; channel < 2; ++channel)
        {
            const auto in = x[channel];
            auto out = c[0] * in + v1[channel];
#if JUCE_INTEL
            out = std::abs (out) > 1.0e-8f ? out : 0.0f;
#endif
            v1[channel] = c[1] * in - c[3] * out + v2[channel];
            v2[channel] = c[2] * in - c[4] * out;
            x[channel] = out;
        }
    }

private:
    juce::IIRCoefficients coefficients;
    float v1[2] {};
    float v2[2] {};
};
