#pragma once

#include "StereoIIRFilter.h"

/** The Highpass and Lowpass controls of an engine: a second-order highpass followed by a
    second-order lowpass on each channel. */
class ToneFilters
{
public:
    void setHighpass (double sampleRate, float frequency) noexcept;
    void setLowpass (double sampleRate, float frequency) noexcept;

    /** The corner frequency a design actually uses. The bilinear designs turn unstable or produce
        NaN at and above half the sample rate (the 20 kHz lowpass at 22.05 or 32 kHz), and the
        lowpass at 0 Hz; such corners are held just inside. Every corner from 1 Hz up to below
        0.49 x the sample rate is designed exactly as asked. */
    static double guardedCorner (double sampleRate, double frequency) noexcept;

    /** Runs numSamples samples, input (i) giving sample i (left in lane 0, right in lane 1), through
        the highpass and then the lowpass, and calls emit (i, y) with the result of each sample in
        turn (lanes 2 and 3 of y are copies). The two filters share one Float4, the highpass in
        lanes 0 and 1 and the lowpass in lanes 2 and 3, one sample behind: each step filters a
        sample's input and the previous sample's highpass output, so one biquad step does the
        work of two. The first step's lowpass half and the last step's highpass half are undone. */
    template <typename Input, typename Emit>
    void process (int numSamples, Input&& input, Emit&& emit) noexcept
    {
        if (numSamples <= 0)
            return;

        auto both = StereoIIRFilter::startSideBySide (highpassFilters, lowpassFilters);

        const auto lowpassState1 = both.v1, lowpassState2 = both.v2;
        auto out = both.process (input (0));
        both.v1 = blendHalves (both.v1, lowpassState1);
        both.v2 = blendHalves (both.v2, lowpassState2);

        for (int i = 1; i < numSamples; ++i)
        {
            out = both.process (lowHalves (input (i), out));
            emit (i - 1, highHalves (out, out));
        }

        const auto highpassState1 = both.v1, highpassState2 = both.v2;
        out = both.process (lowHalves (out, out));
        both.v1 = blendHalves (highpassState1, both.v1);
        both.v2 = blendHalves (highpassState2, both.v2);
        emit (numSamples - 1, highHalves (out, out));

        StereoIIRFilter::stopSideBySide (highpassFilters, lowpassFilters, both);
    }

    StereoIIRFilter highpassFilters;
    StereoIIRFilter lowpassFilters;
};
