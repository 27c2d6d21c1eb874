#pragma once

/** Gains of the Wet control (0 to 100 percent): up to 50 percent the wet signal fades in at full
    dry level, above it the dry signal fades out at full wet level. The compensations pull the
    level down where both signals are loud, most at 50 percent. */
struct WetDryLaw
{
    float dryGain = 1.0f;
    float wetGain = 1.0f;
    float wetCompensation = 0.0f;
    float outputCompensation = 0.0f;

    void setWet (float w) noexcept
    {
        wetGain = w >= 50.0f ? 1.0f : w * 0.02f;
        dryGain = w <= 50.0f ? 1.0f : (50.0f - (w - 50.0f)) * 0.02f;
        wetCompensation = 1.0f - 0.2f * (1.0f - dryGain);
        outputCompensation = 1.0f - 0.37f * (wetGain < 1.0f ? wetGain : dryGain);
    }

    /** The output of one channel, or of each lane of a Float4; wetScale is the wet gain with any
        engine-specific boost. */
    template <typename Sample>
    Sample mix (Sample wet, Sample dry, float wetScale) const noexcept
    {
        return (wet * wetScale * wetCompensation + dry * dryGain) * outputCompensation;
    }
};
