#pragma once

#include "StereoIIRFilter.h"

/** The Highpass and Lowpass controls of an engine: a second-order highpass followed by a
    second-order lowpass on each channel. */
class ToneFilters
{
public:
    void setHighpass (double sampleRate, float frequency) noexcept;
    void setLowpass (double sampleRate, float frequency) noexcept;

    /** Filters x[0] (left) and x[1] (right) in place. */
    void process (float (&x)[2]) noexcept
    {
        highpassFilters.process (x);
        lowpassFilters.process (x);
    }

    /** The corner frequency a design actually uses. The bilinear designs turn unstable or produce
        NaN at and above half the sample rate (the 20 kHz lowpass at 22.05 or 32 kHz), and the
        lowpass at 0 Hz; such corners are held just inside. Every corner from 1 Hz up to below
        0.49 x the sample rate is designed exactly as asked. */
    static double guardedCorner (double sampleRate, double frequency) noexcept;

    StereoIIRFilter highpassFilters;
    StereoIIRFilter lowpassFilters;
};
