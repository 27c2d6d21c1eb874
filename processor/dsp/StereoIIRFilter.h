#pragma once

#include "Float4.h"

#include <juce_audio_basics/juce_audio_basics.h>

/** Biquads, one per lane of a Float4 (the engines' left and right channels), sharing one coefficient
    set designed by juce::IIRCoefficients. Each lane's arithmetic, in its order and with its
    snapping of outputs within 1e-8 of zero, is that of juce::IIRFilter::processSingleSampleRaw, so
    the results are identical. Defined here so that it inlines into the engines' sample loops, and
    snaps without a branch on the signal's sign (which noise-like audio mispredicts). It takes no
    lock: coefficients change only on the audio thread or while no audio runs. */
class StereoIIRFilter
{
public:
    void setCoefficients (const juce::IIRCoefficients& newCoefficients) noexcept { coefficients = newCoefficients; }
    const juce::IIRCoefficients& getCoefficients() const noexcept { return coefficients; }

    /** The filter as a local value for a loop over samples, so that coefficients and state stay in
        registers while the loop stores its results: take it with start, step it with process and
        hand it back with stop. */
    struct Running
    {
        Simd::Float4 c0, c1, c2, c3, c4, v1, v2;

        Simd::Float4 process (Simd::Float4 in) noexcept
        {
            auto out = c0 * in + v1;
#if JUCE_INTEL
            out = select (abs (out) > Simd::Float4 (1.0e-8f), out, Simd::Float4 (0.0f));
#endif
            v1 = c1 * in - c3 * out + v2;
            v2 = c2 * in - c4 * out;
            return out;
        }
    };

    Running start() const noexcept
    {
        const auto* c = coefficients.coefficients;
        return { c[0], c[1], c[2], c[3], c[4], v1, v2 };
    }

    void stop (const Running& running) noexcept
    {
        v1 = running.v1;
        v2 = running.v2;
    }

    /** Two filters side by side as one local value: a in lanes 0 and 1, b in lanes 2 and 3. */
    static Running startSideBySide (const StereoIIRFilter& a, const StereoIIRFilter& b) noexcept
    {
        const auto* ca = a.coefficients.coefficients;
        const auto* cb = b.coefficients.coefficients;
        const auto pair = [ca, cb] (int k) { return Simd::Float4 (ca[k], ca[k], cb[k], cb[k]); };
        return { pair (0), pair (1), pair (2), pair (3), pair (4), lowHalves (a.v1, b.v1), lowHalves (a.v2, b.v2) };
    }

    static void stopSideBySide (StereoIIRFilter& a, StereoIIRFilter& b, const Running& running) noexcept
    {
        a.v1 = lowHalves (running.v1, running.v1);
        a.v2 = lowHalves (running.v2, running.v2);
        b.v1 = highHalves (running.v1, running.v1);
        b.v2 = highHalves (running.v2, running.v2);
    }

    /** Filters x[0] to x[numSamples - 1] in place. */
    void process (Simd::Float4* x, int numSamples) noexcept
    {
        auto running = start();
        for (int i = 0; i < numSamples; ++i)
            x[i] = running.process (x[i]);
        stop (running);
    }

private:
    juce::IIRCoefficients coefficients;
    Simd::Float4 v1 { 0.0f }, v2 { 0.0f };
};
