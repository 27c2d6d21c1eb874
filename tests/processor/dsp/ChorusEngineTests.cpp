#include "processor/dsp/ChorusEnsemble.h"
#include "processor/dsp/ChorusQuad.h"
#include "processor/dsp/ChorusSixty.h"
#include "processor/dsp/ChorusStudio.h"
#include "processor/dsp/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
template <typename Engine>
class ChorusEngine : public testing::Test
{
};

using Engines = testing::Types<ChorusSixty, ChorusStudio, ChorusEnsemble, ChorusQuad>;
TYPED_TEST_SUITE (ChorusEngine, Engines);

/** Every control at the end of its range that one bit of pattern picks, or a fraction t of the way
    to the opposite corner. */
ChorusControls corner (unsigned pattern, float t = 0.0f)
{
    // In the order of ChorusControls.
    const float low[] { 0.1f, 0.1f, 0.1f, 0.0f, 0.1f, 0.0f, 20.0f, 1000.0f, 0.0f };
    const float high[] { 6.0f, 10.0f, 6.0f, 1.0f, 20.0f, 100.0f, 10000.0f, 20000.0f, 200.0f };
    float v[9];
    for (unsigned i = 0; i < 9; ++i)
    {
        const auto isHigh = ((pattern >> i) & 1u) != 0;
        v[i] = isHigh ? high[i] + (low[i] - high[i]) * t : low[i] + (high[i] - low[i]) * t;
    }
    return { v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8] };
}

template <float ChorusControls::*control, typename Engine>
void pushIfItHasIt (Engine& engine, const ChorusControls& c)
{
    if constexpr (Engine::hasSetter (control))
        engine.template set<control> (c.*control);
}

template <typename Engine>
void push (Engine& engine, const ChorusControls& c)
{
    pushIfItHasIt<&ChorusControls::spread> (engine, c);
    pushIfItHasIt<&ChorusControls::rate> (engine, c);
    pushIfItHasIt<&ChorusControls::depth> (engine, c);
    pushIfItHasIt<&ChorusControls::vibratoRate> (engine, c);
    pushIfItHasIt<&ChorusControls::vibratoAmount> (engine, c);
    pushIfItHasIt<&ChorusControls::delay> (engine, c);
    pushIfItHasIt<&ChorusControls::wet> (engine, c);
    pushIfItHasIt<&ChorusControls::highpass> (engine, c);
    pushIfItHasIt<&ChorusControls::lowpass> (engine, c);
}
} // namespace

TYPED_TEST (ChorusEngine, aOneChannelOutputCarriesTheAverageOfBothSidesOnTheLeft)
{
    auto controls = typicalControls();
    controls.vibratoAmount = 0.4f;
    controls.spread = 150.0f;
    TypeParam stereo, mono;
    stereo.prepare (44100.0, 2, controls);
    mono.prepare (44100.0, 1, controls);

    const auto left = noise (20000, 1), right = noise (20000, 2);
    for (size_t n = 0; n < left.size(); ++n)
    {
        float stereoL, stereoR, monoL, monoR;
        stereo.processSample (left[n], right[n], stereoL, stereoR);
        mono.processSample (left[n], right[n], monoL, monoR);
        ASSERT_EQ (monoL, (stereoL + stereoR) * 0.5f) << n;
        ASSERT_EQ (monoR, 0.0f) << n;
    }
}

TYPED_TEST (ChorusEngine, noiseStaysFiniteAndBoundedAtEverySampleRateAndControlExtreme)
{
    for (double rate : { 22050.0, 44100.0, 48000.0, 96000.0, 192000.0 })
    {
        const auto samples = (int) rate;
        const auto left = noise (samples, 5), right = noise (samples, 6);
        // As the smoothers move controls: a new value every 51 samples at 44.1 kHz.
        const auto pushInterval = (int) std::ceil (rate / 44100.0 * 51.0);

        // All low, all high and mixed corners, among them a lowpass above half the lower rates.
        for (unsigned pattern : { 0x000u, 0x1ffu, 0x0aau, 0x155u, 0x19fu, 0x060u })
        {
            TypeParam engine;
            engine.prepare (rate, 2, corner (pattern));

            float largest = 0.0f;
            for (int n = 0; n < samples; ++n)
            {
                // The second half sweeps every control to its other end.
                if (n >= samples / 2 && n % pushInterval == 0)
                    push (engine, corner (pattern, (float) (n - samples / 2) / (float) (samples / 2)));

                float outL, outR;
                engine.processSample (left[(size_t) n], right[(size_t) n], outL, outR);
                ASSERT_TRUE (std::isfinite (outL) && std::isfinite (outR)) << rate << " Hz, " << pattern << ", " << n;
                largest = std::max ({ largest, std::abs (outL), std::abs (outR) });
            }
            EXPECT_LT (largest, 4.0f) << rate << " Hz, pattern " << pattern;
        }
    }
}
