#pragma once

#include "StereoIIRFilter.h"

/** The Highpass and Lowpass controls of an engine: a second-order highpass followed by a
    second-order lowpass on each channel. */
class ToneFilters
{
public:
    void setHighpass (double sampleRate, float frequency) noexcept;
    void setLowpass (double sampleRate, float frequency) noexcept;

    /** Both filters as local values, for a loop over samples (see StereoIIRFilter::Running). */
    struct Running
    {
        StereoIIRFilter::Running highpass, lowpass;

        Float4 process (Float4 in) noexcept { return lowpass.process (highpass.process (in)); }
    };

    Running start() const noexcept { return { highpassFilters.start(), lowpassFilters.start() }; }

    void stop (const Running& running) noexcept
    {
        highpassFilters.stop (running.highpass);
        lowpassFilters.stop (running.lowpass);
    }

    /** The corner frequency a design actually uses. The bilinear designs turn unstable or produce
        NaN at and above half the sample rate (the 20 kHz lowpass at 22.05 or 32 kHz), and the
        lowpass at 0 Hz; such corners are held just inside. Every corner from 1 Hz up to below
        0.49 x the sample rate is designed exactly as asked. */
    static double guardedCorner (double sampleRate, double frequency) noexcept;

    StereoIIRFilter highpassFilters;
    StereoIIRFilter lowpassFilters;
};
