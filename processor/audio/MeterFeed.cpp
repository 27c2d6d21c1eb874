#include "MeterFeed.h"

#include <thread>

void MeterFeed::prepare (int samplesPerBlock)
{
    // The reader may be copying the pairs right now; wait for it before reallocating.
    while (meterFeedBusy.exchange (true, std::memory_order_acquire))
        std::this_thread::yield();
    phaseMeterSamples.reserve ((size_t) (maxPhaseMeterPairs + samplesPerBlock));
    meterFeedBusy.store (false, std::memory_order_release);
}

void MeterFeed::feed (const float* outLeft, const float* outRight, int numSamples, float peakLeft, float peakRight)
{
    // Raise, never lower: a reset by the reader between load and exchange is retried.
    const auto raise = [] (std::atomic<float>& peak, float value)
    {
        auto current = peak.load (std::memory_order_relaxed);
        while (value > current && ! peak.compare_exchange_weak (current, value, std::memory_order_relaxed))
        {
        }
    };
    raise (outputPeakLeft, peakLeft);
    raise (outputPeakRight, peakRight);

    if (meterFeedBusy.exchange (true, std::memory_order_acquire))
        return; // the reader is copying; this block's pairs are left out rather than waited for

    if (! phaseMeterSamplesReady.load (std::memory_order_relaxed))
        phaseMeterSamples.clear();

    // Capacity was reserved for this in prepare, so nothing is allocated here.
    if (phaseMeterSamples.size() < (size_t) maxPhaseMeterPairs)
        for (int i = 0; i < numSamples; ++i)
            phaseMeterSamples.emplace_back (outLeft[i], outRight[i]);

    phaseMeterSamplesReady.store (true, std::memory_order_relaxed);
    meterFeedBusy.store (false, std::memory_order_release);
}

bool MeterFeed::takePhaseMeterSamples (std::vector<std::pair<double, double>>& destination)
{
    // While the audio thread writes the pairs, this poll shows what it showed; the set stays
    // ready for the next one.
    if (meterFeedBusy.exchange (true, std::memory_order_acquire))
        return false;

    const auto ready = phaseMeterSamplesReady.load (std::memory_order_relaxed);
    if (ready)
    {
        destination = phaseMeterSamples;
        phaseMeterSamplesReady.store (false, std::memory_order_relaxed);
    }

    meterFeedBusy.store (false, std::memory_order_release);
    return ready;
}

float MeterFeed::takeOutputPeak (bool right)
{
    return (right ? outputPeakRight : outputPeakLeft).exchange (0.0f, std::memory_order_relaxed);
}
