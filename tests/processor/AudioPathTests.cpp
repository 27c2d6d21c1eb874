#include "ProcessorFixture.h"

#include "processor/params/ControlTable.h"
#include "support/ProcessorTestAccess.h"

#include <limits>

namespace
{
using Access = ProcessorTestAccess;

class AudioPath : public ProcessorFixture
{
protected:
    juce::MidiBuffer midi;

    void prepare (double sampleRate = 44100.0, int blockSize = 512)
    {
        prepareToPlay (processor, sampleRate, blockSize);
    }

    /** Processes silence until the given number of control ticks has passed. */
    void runTicks (int ticks)
    {
        juce::AudioBuffer<float> buffer (2, Access::controlInterval (processor));
        for (int i = 0; i < ticks; ++i)
        {
            buffer.clear();
            processor.processBlock (buffer, midi);
        }
    }

    /** Control ticks until the tick value of the parameter reaches its target. */
    int ticksToReachTarget (const char* id, int limit = 10000)
    {
        for (int ticks = 1; ticks <= limit; ++ticks)
        {
            runTicks (1);
            if (Access::tickValue (processor, id) == Access::target (processor, id))
                return ticks;
        }
        return -1;
    }
};
} // namespace

TEST_F (AudioPath, controlIntervalAndRampLengthsFollowTheSampleRate)
{
    struct Expected
    {
        double sampleRate;
        int interval, slow, fast, bypass;
    };

    for (const auto& e : { Expected { 44100.0, 51, 432, 86, 43 }, Expected { 48000.0, 56, 428, 85, 42 },
                           Expected { 192000.0, 223, 430, 86, 43 } })
    {
        prepare (e.sampleRate);
        EXPECT_EQ (Access::controlInterval (processor), e.interval) << e.sampleRate;

        set ("paramSixtyRate", 3.0f);
        EXPECT_EQ (ticksToReachTarget ("paramSixtyRate"), e.slow) << e.sampleRate;

        set ("paramSixtyWet", 80.0f);
        EXPECT_EQ (ticksToReachTarget ("paramSixtyWet"), e.fast) << e.sampleRate;

        set ("paramBypassGlobal", 1.0f);
        EXPECT_EQ (ticksToReachTarget ("paramBypassGlobal"), e.bypass) << e.sampleRate;

        set ("paramSixtyRate", 0.86f);
        set ("paramSixtyWet", 50.0f);
        set ("paramBypassGlobal", 0.0f);
    }
}

TEST_F (AudioPath, aNewTargetRampsTheFullLengthFromWhereTheValueStands)
{
    prepare();
    set ("paramGain", 12.0f);
    runTicks (43); // halfway through the 86-tick ramp

    const auto halfway = Access::tickValue (processor, "paramGain");
    EXPECT_NEAR (halfway, 6.0f, 0.01f);

    // The same target again changes nothing: the ramp goes on.
    set ("paramGain", 12.0f);
    EXPECT_EQ (ticksToReachTarget ("paramGain"), 43);

    set ("paramGain", -12.0f);
    runTicks (1);
    EXPECT_NEAR (Access::tickValue (processor, "paramGain"), 12.0f - 24.0f / 86.0f, 1.0e-4f);
    EXPECT_EQ (ticksToReachTarget ("paramGain"), 85);
}

TEST_F (AudioPath, modeChangesCrossfadeOverHalfASecondAndAThirdModeRestartsEveryGainFromWhereItStands)
{
    prepare();
    EXPECT_EQ (Access::modeGains (processor), (std::array<float, 4> { 1.0f, 0.0f, 0.0f, 0.0f }));

    set ("paramChorusMode", 1.0f);
    runTicks (216);
    auto gains = Access::modeGains (processor);
    EXPECT_NEAR (gains[0], 0.5f, 1.0e-4f);
    EXPECT_NEAR (gains[1], 0.5f, 1.0e-4f);

    // Sixty, although already fading to 0, starts a full ramp as well, in step with the others.
    set ("paramChorusMode", 2.0f);
    runTicks (1);
    gains = Access::modeGains (processor);
    EXPECT_NEAR (gains[0], 0.5f - 0.5f / 432.0f, 1.0e-5f);
    EXPECT_NEAR (gains[1], 0.5f - 0.5f / 432.0f, 1.0e-5f);
    EXPECT_NEAR (gains[2], 1.0f / 432.0f, 1.0e-5f);

    runTicks (430);
    EXPECT_GT (Access::modeGains (processor)[0], 0.0f);
    runTicks (1);
    EXPECT_EQ (Access::modeGains (processor), (std::array<float, 4> { 0.0f, 0.0f, 1.0f, 0.0f }));
}

TEST_F (AudioPath, quickModeChangesKeepTheGainsSummingToOneSoTheLevelWithoutWetNeverDips)
{
    // Without wet signal every engine passes the input on, so the output is the input times the
    // sum of the mode gains.
    for (const auto& mode : ControlTable::modes)
        set ("param" + juce::String (mode.name) + "Wet", 0.0f);
    prepare();
    const auto interval = Access::controlInterval (processor);

    // Mode and the control ticks until the next change: each comes before the crossfade ends, one
    // halfway through it, some back to a mode that is still fading out.
    const std::pair<float, int> changes[] = { { 1.0f, 216 }, { 2.0f, 216 }, { 0.0f, 50 }, { 1.0f, 300 },
                                              { 3.0f, 1 },   { 2.0f, 20 },  { 3.0f, 432 } };
    int seed = 1;
    for (const auto& [mode, ticks] : changes)
    {
        set ("paramChorusMode", mode);
        for (int tick = 0; tick < ticks; ++tick)
        {
            const auto input = makeNoise (2, interval, seed++);
            auto output = input;
            processor.processBlock (output, midi);

            const auto gains = Access::modeGains (processor);
            ASSERT_NEAR (gains[0] + gains[1] + gains[2] + gains[3], 1.0f, 1.0e-5f)
                << "mode " << mode << ", tick " << tick;
            ASSERT_LT (maxDifference (input, output), 1.0e-4f) << "mode " << mode << ", tick " << tick;
        }
    }
    EXPECT_EQ (Access::modeGains (processor), (std::array<float, 4> { 0.0f, 0.0f, 0.0f, 1.0f }));
}

TEST_F (AudioPath, bypassFadesBothWaysAndFullyOnGivesTheInputExactly)
{
    prepare();
    set ("paramBypassGlobal", 1.0f);
    runTicks (20);
    const auto reached = Access::tickValue (processor, "paramBypassGlobal");
    EXPECT_NEAR (reached, 20.0f / 43.0f, 1.0e-5f);

    set ("paramBypassGlobal", 0.0f);
    runTicks (1);
    EXPECT_NEAR (Access::tickValue (processor, "paramBypassGlobal"), reached - reached / 43.0f, 1.0e-5f);

    set ("paramBypassGlobal", 1.0f);
    runTicks (43);
    ASSERT_EQ (Access::tickValue (processor, "paramBypassGlobal"), 1.0f);

    set ("paramGain", 12.0f);
    const auto input = makeNoise (2, 2048);
    auto output = input;
    processInBlocks (processor, output, 512);
    EXPECT_EQ (maxDifference (input, output), 0.0f);
}

TEST_F (AudioPath, aStateJumpIsAudibleInTheVeryNextBlock)
{
    prepare();
    runTicks (1);

    QexTidewellAudioProcessor source;
    setParameter (source, "paramGain", -12.0f);
    restoreState (processor, stateOf (source));

    // A twin prepared with -12 dB from the start plays the same samples.
    QexTidewellAudioProcessor twin;
    setParameter (twin, "paramGain", -12.0f);
    prepareToPlay (twin, 44100.0, 512);

    auto restored = makeNoise (2, 512);
    auto reference = restored;
    juce::AudioBuffer<float> silence (2, 51);
    silence.clear();
    twin.processBlock (silence, midi);

    processor.processBlock (restored, midi);
    twin.processBlock (reference, midi);
    EXPECT_EQ (Access::tickValue (processor, "paramGain"), -12.0f);
    EXPECT_EQ (maxDifference (restored, reference), 0.0f);
}

TEST_F (AudioPath, aBlockLongerThanAnnouncedIsProcessedAsSlices)
{
    prepare (48000.0, 64);
    QexTidewellAudioProcessor twin;
    prepareToPlay (twin, 48000.0, 64);
    set ("paramSixtyRate", 4.0f);
    setParameter (twin, "paramSixtyRate", 4.0f);

    auto whole = makeNoise (2, 64 * 7 + 13);
    auto sliced = whole;
    processor.processBlock (whole, midi);
    processInBlocks (twin, sliced, 64);

    EXPECT_EQ (maxDifference (whole, sliced), 0.0f);
}

TEST_F (AudioPath, everyBlockStartsWithAControlTickEvenASingleSample)
{
    prepare();
    set ("paramSpread", 0.0f);

    juce::AudioBuffer<float> one (2, 1);
    for (int i = 0; i < 10; ++i)
    {
        one.clear();
        processor.processBlock (one, midi);
    }
    EXPECT_NEAR (Access::tickValue (processor, "paramSpread"), 100.0f - 10.0f * 100.0f / 86.0f, 1.0e-3f);
}

TEST_F (AudioPath, monoInputFeedsBothSidesAndMonoOutputGetsTheFold)
{
    const auto render = [] (int ins, int outs)
    {
        QexTidewellAudioProcessor p;
        EXPECT_TRUE (setLayout (p, ins, outs));
        prepareToPlay (p, 44100.0, 256);

        auto buffer = makeNoise (juce::jmax (ins, outs), 4096);
        for (int channel = 1; channel < buffer.getNumChannels(); ++channel)
            buffer.copyFrom (channel, 0, buffer, 0, 0, buffer.getNumSamples());
        if (ins < buffer.getNumChannels())
            buffer.clear (1, 0, buffer.getNumSamples()); // what a host leaves in an output-only channel
        processInBlocks (p, buffer, 256);
        return buffer;
    };

    auto stereo = render (2, 2);
    EXPECT_EQ (maxDifference (stereo, render (1, 2)), 0.0f) << "mono input is the same signal on both sides";

    const juce::AudioBuffer<float> stereoLeft (stereo.getArrayOfWritePointers(), 1, stereo.getNumSamples());
    const auto foldChange = maxDifference (render (1, 1), stereoLeft);
    EXPECT_TRUE (std::isfinite (foldChange));
    EXPECT_GT (foldChange, 0.0f) << "the fold mixes both sides";
}

TEST_F (AudioPath, wideOutputBusesCarryTheStereoResultOnTheFirstTwoChannelsAndSilenceOnTheRest)
{
    struct Rendered
    {
        juce::AudioBuffer<float> buffer;
        float peakLeft, peakRight;
    };

    // The first input channels hold the same noise in every layout; every other channel holds
    // noise of its own, as a host may leave in an output-only channel or send on an extra input.
    const auto render = [] (int ins, int outs)
    {
        QexTidewellAudioProcessor p;
        EXPECT_TRUE (setLayout (p, ins, outs)) << ins << " in, " << outs << " out";
        prepareToPlay (p, 44100.0, 256);

        const auto channels = juce::jmax (ins, outs);
        const auto input = makeNoise (2, 4096);
        auto buffer = makeNoise (channels, 4096, 2);
        for (int channel = 0; channel < juce::jmin (ins, 2); ++channel)
            buffer.copyFrom (channel, 0, input, channel, 0, input.getNumSamples());
        processInBlocks (p, buffer, 256);
        return Rendered { buffer, p.takeOutputPeak (false), p.takeOutputPeak (true) };
    };

    struct Case
    {
        int ins, outs;
    };

    for (const auto c : { Case { 2, 4 }, Case { 1, 6 }, Case { 4, 4 } })
    {
        auto wide = render (c.ins, c.outs);
        const auto stereo = render (juce::jmin (c.ins, 2), 2);
        const auto message = std::to_string (c.ins) + " in, " + std::to_string (c.outs) + " out";

        const juce::AudioBuffer<float> firstTwo (wide.buffer.getArrayOfWritePointers(), 2, wide.buffer.getNumSamples());
        EXPECT_EQ (maxDifference (firstTwo, stereo.buffer), 0.0f) << message;
        for (int channel = 2; channel < c.outs; ++channel)
            EXPECT_EQ (wide.buffer.findMinMax (channel, 0, wide.buffer.getNumSamples()), juce::Range<float>())
                << message << ", channel " << channel;
        EXPECT_EQ (wide.peakLeft, stereo.peakLeft) << message;
        EXPECT_EQ (wide.peakRight, stereo.peakRight) << message;
    }
}

TEST_F (AudioPath, theMeterFeedGathersPairsAndSignedPeaksForTheReader)
{
    prepare (44100.0, 512);
    std::vector<std::pair<double, double>> pairs;
    EXPECT_FALSE (processor.takePhaseMeterSamples (pairs));

    // Output that is negative only leaves the peaks at zero.
    set ("paramBypassGlobal", 1.0f);
    runTicks (50);
    processor.takePhaseMeterSamples (pairs);
    processor.takeOutputPeak (false);
    processor.takeOutputPeak (true);

    juce::AudioBuffer<float> negative (2, 300);
    for (int i = 0; i < 300; ++i)
    {
        negative.setSample (0, i, -0.25f);
        negative.setSample (1, i, -0.5f + (float) i / 1000.0f);
    }
    const auto expectedFirst = std::pair<double, double> { -0.25, -0.5 };
    processor.processBlock (negative, midi);
    EXPECT_EQ (processor.takeOutputPeak (false), 0.0f);
    EXPECT_EQ (processor.takeOutputPeak (true), 0.0f);

    ASSERT_TRUE (processor.takePhaseMeterSamples (pairs));
    ASSERT_EQ (pairs.size(), 300u);
    EXPECT_EQ (pairs.front(), expectedFirst);
    EXPECT_FALSE (processor.takePhaseMeterSamples (pairs)) << "nothing new until the next block";

    // Below 100 pairs blocks keep adding; from 100 on they add nothing until the next read.
    juce::AudioBuffer<float> small (2, 60);
    small.clear();
    small.setSample (0, 10, 0.75f);
    small.setSample (1, 20, 0.5f);
    processor.processBlock (small, midi);
    processor.processBlock (small, midi);
    processor.processBlock (small, midi);
    ASSERT_TRUE (processor.takePhaseMeterSamples (pairs));
    EXPECT_EQ (pairs.size(), 120u);
    EXPECT_EQ (processor.takeOutputPeak (false), 0.75f);
    EXPECT_EQ (processor.takeOutputPeak (true), 0.5f);
    EXPECT_EQ (processor.takeOutputPeak (false), 0.0f) << "reading resets the peak";

    // While the audio thread writes the pairs the reader skips its poll instead of waiting.
    processor.processBlock (small, midi);
    Access::holdMeterFeed (processor, true);
    EXPECT_FALSE (processor.takePhaseMeterSamples (pairs));
    Access::holdMeterFeed (processor, false);
    EXPECT_TRUE (processor.takePhaseMeterSamples (pairs)) << "the set waits for the next poll";
}

TEST_F (AudioPath, aHostValueThatIsNotFiniteKeepsEveryParameterAndTheSoundFinite)
{
    prepare (48000.0, 512);
    set ("paramChorusMode", 3.0f);
    std::map<juce::String, float> before;
    for (auto* parameter : processor.getParameters())
        before[parameter->getName (100)] = parameter->getValue();

    for (const auto value : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity() })
        for (auto* parameter : processor.getParameters())
            parameter->setValueNotifyingHost (value);

    for (auto* parameter : processor.getParameters())
        EXPECT_EQ (parameter->getValue(), before[parameter->getName (100)]) << parameter->getName (100);

    // The rates drive the oscillators' table reads: the sound stays finite and still changes the input.
    const auto input = makeNoise (2, 9600);
    auto output = input;
    processInBlocks (processor, output, 512);
    const auto change = maxDifference (input, output);
    EXPECT_TRUE (std::isfinite (change));
    EXPECT_GT (change, 0.01f);

    const auto state = stateOf (processor);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize());
    ASSERT_NE (xml, nullptr);
    for (const auto* element : xml->getChildIterator())
        EXPECT_TRUE (std::isfinite (element->getDoubleAttribute ("value"))) << element->toString();
}
