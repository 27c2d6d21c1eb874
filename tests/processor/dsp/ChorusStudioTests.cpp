#include "processor/dsp/ChorusStudio.h"
#include "processor/dsp/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <array>

namespace
{
constexpr double rate = 48000.0;

void expectShelfGain (const StereoIIRFilter& shelf, float gain)
{
    const auto actual = shelf.getCoefficients();
    const auto expected = juce::IIRCoefficients::makeLowShelf (rate, 200.0, 0.8, gain);
    for (int i = 0; i < 5; ++i)
        EXPECT_NEAR (actual.coefficients[i], expected.coefficients[i], 1.0e-6f) << "gain " << gain;
}
} // namespace

TEST (ChorusStudio, shelvesCrossFeedAndBoostFollowTheWetControlFromTheFirstSample)
{
    // Wet percent, then the wet and dry shelf gains, the cross-feed weight and the wet boost.
    for (const auto& c : { std::array<float, 5> { 50.0f, 0.2f, 1.1f, 1.0f, 1.0f },
                           std::array<float, 5> { 75.0f, 0.6f, 1.05f, 0.8f, 1.1f },
                           std::array<float, 5> { 100.0f, 1.0f, 1.0f, 0.3f, 1.2f } })
    {
        auto controls = typicalControls();
        controls.wet = c[0];
        ChorusStudio engine;
        engine.prepare (rate, 2, controls);
        runSilence (engine, 100);

        // Another preparation flattens the shelves; the first sample after it brings them back.
        engine.prepare (rate, 2, controls);
        expectShelfGain (engine.wetShelf(), 1.0f);
        runSilence (engine, 1);
        expectShelfGain (engine.wetShelf(), c[1]);
        expectShelfGain (engine.dryShelf(), c[2]);
        EXPECT_FLOAT_EQ (engine.getHighpassWeight(), c[3]) << c[0];
        EXPECT_FLOAT_EQ (engine.getWetBoost(), c[4]) << c[0];
    }
}
