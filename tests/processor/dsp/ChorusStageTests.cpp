#include "processor/dsp/StereoIIRFilter.h"
#include "processor/dsp/StereoWidth.h"
#include "processor/dsp/ToneFilters.h"
#include "processor/dsp/WetDryLaw.h"

#include <gtest/gtest.h>

#include <array>

using Simd::Float4;

TEST (WetDryLaw, fadesWetInUpToHalfwayThenDryOutWithTheLevelDipInTheMiddle)
{
    // Wet percent, then wetGain, dryGain, wetCompensation, outputCompensation.
    for (const auto& c : { std::array<float, 5> { 0.0f, 0.0f, 1.0f, 1.0f, 1.0f },
                           std::array<float, 5> { 50.0f, 1.0f, 1.0f, 1.0f, 0.63f },
                           std::array<float, 5> { 75.0f, 1.0f, 0.5f, 0.9f, 0.815f },
                           std::array<float, 5> { 100.0f, 1.0f, 0.0f, 0.8f, 1.0f } })
    {
        WetDryLaw law;
        law.setWet (c[0]);
        EXPECT_FLOAT_EQ (law.wetGain, c[1]) << c[0];
        EXPECT_FLOAT_EQ (law.dryGain, c[2]) << c[0];
        EXPECT_FLOAT_EQ (law.wetCompensation, c[3]) << c[0];
        EXPECT_FLOAT_EQ (law.outputCompensation, c[4]) << c[0];
    }
}

TEST (StereoWidth, spreadTakesTheSideFromMonoThroughUntouchedToDoubled)
{
    auto widen = [] (float spread)
    {
        StereoWidth width;
        width.setSpread (spread);
        std::array<float, 2> pair { 0.3f, -0.7f }; // mid -0.2, side 0.5
        width.process (pair[0], pair[1]);
        return pair;
    };

    const auto mono = widen (0.0f);
    EXPECT_FLOAT_EQ (mono[0], -0.2f);
    EXPECT_EQ (mono[1], mono[0]);
    EXPECT_EQ (widen (100.0f), (std::array<float, 2> { 0.3f, -0.7f }));

    // +6 dB side, -2 dB mid.
    const auto doubled = widen (200.0f);
    EXPECT_NEAR (doubled[0], -0.2f * 0.7943282f + 0.5f * 1.9952623f, 1.0e-6f);
    EXPECT_NEAR (doubled[1], -0.2f * 0.7943282f - 0.5f * 1.9952623f, 1.0e-6f);
}

TEST (StereoIIRFilter, givesExactlyTheFrameworkFiltersOutputOnEachChannel)
{
    const auto design = juce::IIRCoefficients::makeHighPass (44100.0, 200.0);
    StereoIIRFilter pair;
    juce::IIRFilter left, right;
    pair.setCoefficients (design);
    left.setCoefficients (design);
    right.setCoefficients (design);

    // Noise with stretches of near-silence, where outputs are snapped to zero.
    juce::Random random (11);
    for (int n = 0; n < 20000; ++n)
    {
        const auto level = (n / 2000) % 2 == 0 ? 1.0f : 1.0e-9f;
        const auto l = (random.nextFloat() - 0.5f) * level, r = (random.nextFloat() - 0.5f) * level;
        const auto expectedLeft = left.processSingleSampleRaw (l);
        const auto expectedRight = right.processSingleSampleRaw (r);
        Float4 x (l, r, l, r);
        pair.process (&x, 1);
        ASSERT_EQ (x.lane0(), expectedLeft) << n;
        ASSERT_EQ (x.lane1(), expectedRight) << n;
    }
}

TEST (ToneFilters, onlyCornersFromJustBelowHalfTheSampleRateUpAreMoved)
{
    EXPECT_EQ (ToneFilters::guardedCorner (22050.0, 20000.0), 0.49 * 22050.0);
    EXPECT_EQ (ToneFilters::guardedCorner (32000.0, 15000.0), 15000.0);
    EXPECT_EQ (ToneFilters::guardedCorner (44100.0, 20000.0), 20000.0);
}

TEST (ToneFilters, theHighpassAndLowpassSharingLanesGiveTheFrameworkFiltersOutputInBlocksOfAnyLength)
{
    ToneFilters tone;
    tone.setHighpass (44100.0, 300.0f);
    tone.setLowpass (44100.0, 2000.0f);
    juce::IIRFilter highpass[2], lowpass[2];
    for (int channel = 0; channel < 2; ++channel)
    {
        highpass[channel].setCoefficients (juce::IIRCoefficients::makeHighPass (44100.0, 300.0));
        lowpass[channel].setCoefficients (juce::IIRCoefficients::makeLowPass (44100.0, 2000.0));
    }

    juce::Random random (12);
    for (int length : { 1, 2, 3, 64, 1, 5, 17, 2, 1, 40 })
    {
        Float4 block[64];
        for (int i = 0; i < length; ++i)
        {
            const auto l = random.nextFloat() - 0.5f, r = random.nextFloat() - 0.5f;
            block[i] = { l, r, l, r };
        }

        int emitted = 0;
        tone.process (
            length, [&block] (int i) { return block[i]; },
            [&] (int i, Float4 y)
            {
                ASSERT_EQ (i, emitted++);
                float lanes[4], x[4];
                y.store (lanes);
                block[i].store (x);
                for (int channel = 0; channel < 2; ++channel)
                {
                    const auto expected =
                        lowpass[channel].processSingleSampleRaw (highpass[channel].processSingleSampleRaw (x[channel]));
                    ASSERT_EQ (lanes[channel], expected) << length << ", " << i;
                    ASSERT_EQ (lanes[channel + 2], expected) << length << ", " << i;
                }
            });
        ASSERT_EQ (emitted, length);
    }
}
