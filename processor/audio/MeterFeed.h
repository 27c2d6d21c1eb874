#pragma once

#include <atomic>
#include <utility>
#include <vector>

/** What the audio thread hands the meters: the output peaks, and the output sample pairs of the
    phase meter. The audio thread writes the pairs only while it holds the feed, and the reader
    copies them only while it holds it; the audio thread skips a block and the reader a poll
    rather than wait. */
class MeterFeed
{
public:
    /** The pairs kept for the reader: a block adds its pairs while fewer than this wait. */
    static constexpr int maxPhaseMeterPairs = 100;

    /** Not on the audio thread: makes room for the pairs of blocks of up to samplesPerBlock
        samples, waiting for a reader that is copying them. */
    void prepare (int samplesPerBlock);

    /** Audio thread: raises the peaks and adds the block's output pairs; allocates nothing. */
    void feed (const float* outLeft, const float* outRight, int numSamples, float peakLeft, float peakRight);

    /** Copies the output sample pairs gathered since the last call into destination and
        returns true, or returns false (leaving destination alone) when no block has run since
        or the audio thread is writing them at that moment. Message thread; it never waits for
        the audio thread and never makes it wait. */
    bool takePhaseMeterSamples (std::vector<std::pair<double, double>>& destination);

    /** Returns the largest left or right output sample since the last call and resets it to 0. */
    float takeOutputPeak (bool right);

private:
    std::vector<std::pair<double, double>> phaseMeterSamples;
    std::atomic<bool> phaseMeterSamplesReady { false };
    std::atomic<float> outputPeakLeft { 0.0f };
    std::atomic<float> outputPeakRight { 0.0f };
    std::atomic<bool> meterFeedBusy { false };

    friend struct ProcessorTestAccess;
};
