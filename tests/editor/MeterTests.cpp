#include "PanelTestSupport.h"

#include "editor/MetersPanel.h"
#include "support/AudioTestSupport.h"

#include <cmath>

struct MetersPanelTestAccess
{
    static LevelMeter& left (MetersPanel& p) { return p.leftMeter; }
    static PhaseMeter& phase (MetersPanel& p) { return p.phaseMeter; }
    static std::vector<int> scaleY (MetersPanel& p) { return { std::begin (p.scaleY), std::end (p.scaleY) }; }
};

TEST (LevelMeterTest, aPeakShowsAtOnceIsHeldFor28PollsAndClipsOnlyAboveFullScale)
{
    LevelMeter meter;
    meter.setMeterLevel (-1.0f);
    EXPECT_FLOAT_EQ (meter.level, 1.0f) << "metered by magnitude";
    EXPECT_FALSE (meter.clip) << "exactly full scale";

    for (int poll = 1; poll <= 40; ++poll)
    {
        meter.setMeterLevel (0.0f);
        EXPECT_NEAR (meter.level, std::pow (0.8f, (float) poll), 1e-6f) << poll;
        EXPECT_NEAR (meter.peak, poll <= 28 ? 1.0f : std::pow (0.8f, (float) (poll - 28)), 1e-6f) << poll;
        EXPECT_GE (meter.peak, meter.level);
    }

    meter.setMeterLevel (1.2f);
    for (int poll = 1; poll <= 28; ++poll)
        meter.setMeterLevel (0.0f);
    EXPECT_TRUE (meter.clip) << "lit while the peak is held";
    meter.setMeterLevel (0.0f);
    EXPECT_FLOAT_EQ (meter.peak, 0.96f);
    EXPECT_FALSE (meter.clip) << "out once the held peak falls";

    meter.setSize (19, 205);
    meter.setMeterLevel (0.5f);
    const auto image = panel::snapshot ("level-meter-half", meter);
    EXPECT_TRUE (render::colourAt (image, 9, 25, meter.barColour)) << "-6 dB lies 18 px below the 0 dB line at 7";
    EXPECT_TRUE (render::colourAt (image, 9, 23, meter.backgroundColour));
}

TEST (PhaseMeterTest, correlationCountsSignAgreementOverTheFirstThousandPairs)
{
    auto correlationOf = [] (std::initializer_list<std::tuple<int, double, double>> runs)
    {
        PhaseMeter meter;
        for (auto [count, left, right] : runs)
            meter.points.insert (meter.points.end(), (size_t) count, { left, right });
        meter.updateCorrelation();
        return meter.correlation;
    };

    EXPECT_FLOAT_EQ (correlationOf ({ { 50, 0.3, 0.3 }, { 50, -0.2, -0.7 } }), 1.0f);
    EXPECT_FLOAT_EQ (correlationOf ({ { 50, 0.3, -0.3 }, { 50, -0.2, 0.7 } }), -1.0f);
    EXPECT_FLOAT_EQ (correlationOf ({ { 100, 0.3, 0.0 } }), 0.0f) << "one side only";
    EXPECT_FLOAT_EQ (correlationOf ({}), 0.0f) << "no pairs";
    EXPECT_FLOAT_EQ (correlationOf ({ { 1, std::nan (""), 0.5 }, { 1, 0.5, 0.5 } }), 0.5f);
    EXPECT_FLOAT_EQ (correlationOf ({ { 1000, 0.1, 0.1 }, { 500, 0.1, -0.1 } }), 1.0f) << "of 1500 pairs";
}

TEST (MetersPanelTest, eachPollTakesThePeaksAndNewPairsOnceThePhaseMeterHasPaintedTheLast)
{
    ScopedDataHome dataHome;
    QexTidewellAudioProcessor processor;
    constexpr int blockSize = 256;

    // Bypassed, the output is the input, so the feed carries known samples.
    setParameter (processor, "paramBypassGlobal", 1.0f);
    processor.setPlayConfigDetails (2, 2, 48000.0, blockSize);
    processor.prepareToPlay (48000.0, blockSize);

    auto play = [&] (float rightGain, int seed)
    {
        auto buffer = makeNoise (2, blockSize, seed);
        buffer.copyFrom (1, 0, buffer, 0, 0, blockSize);
        buffer.applyGain (1, 0, blockSize, rightGain);
        const auto peak = juce::FloatVectorOperations::findMaximum (buffer.getReadPointer (0), blockSize);
        processInBlocks (processor, buffer, blockSize);
        return peak;
    };

    // The first poll meters what built up while no panel was reading.
    const auto leftPeak = play (1.0f, 1);
    MetersPanel panel (processor);
    EXPECT_TRUE (panel.isTimerRunning());
    panel.stopTimer();
    panel.setBounds (551, 49, 156, 287);
    auto& phase = MetersPanelTestAccess::phase (panel);

    panel.timerCallback();
    EXPECT_FLOAT_EQ (MetersPanelTestAccess::left (panel).level, leftPeak);
    EXPECT_EQ (processor.takeOutputPeak (false), 0.0f) << "the poll resets the peak it read";
    EXPECT_FLOAT_EQ (phase.correlation, 1.0f);
    EXPECT_EQ (phase.points.size(), (size_t) blockSize);

    // Until the phase meter paints, the next set waits in the processor.
    play (-1.0f, 2);
    panel.timerCallback();
    EXPECT_FLOAT_EQ (phase.correlation, 1.0f);

    panel::snapshot ("meters-panel", panel);
    panel.timerCallback();
    EXPECT_FLOAT_EQ (phase.correlation, -1.0f);

    // The scale's marks lie where the bar shows their levels (-6 dB at 25, as the meter test finds).
    EXPECT_EQ (MetersPanelTestAccess::scaleY (panel), (std::vector<int> { 7, 25, 43, 80, 116, 153, 189 }));
    const auto image = panel::snapshot ("meters-panel", panel);
    EXPECT_TRUE (panel::shows (image, { 103, 15, 20, 220 }, LookAndFeelCustom::midGrayColour)) << "right scale";

    processor.releaseResources();
}
