#pragma once

#include "Float4.h"

#include <juce_core/juce_core.h>

#include <memory>

/** Fractional delay lines with a two-second buffer each and linear interpolation between the two
    neighbouring taps. The lines of an engine (two or four) advance together, one per lane of a
    Float4, and share one write position; each lane's arithmetic is that of a single line.

    Each buffer slot holds, for every line, the sample written there and the one written just
    before it, so that one load fetches both taps of a read, wrap-around included. */
template <int numLines>
class DelayLines
{
    static constexpr int slotSize = 2 * numLines; // (earlier, current) per line
    static constexpr int slotSizeBits = numLines == 2 ? 2 : 3;
    static_assert (1 << slotSizeBits == slotSize, "slot positions are formed by a shift");

public:
    static_assert (numLines == 2 || numLines == 4, "lanes of a Float4");

    /** Sizes and clears the buffer; every delay restarts at 0 ms. Allocates. */
    void prepare (double sampleRate);

    /** The lines as a local value for a loop over samples, so that the write position and the
        last sample stay in registers while the loop stores into the buffer: take it with start,
        step it with process and hand it back with stop. */
    class Running
    {
    public:
        /** Sets each lane's delay to delayMs milliseconds, held between 0 and one sample short of
            the buffer length (every delay the engines ask for, at most 35 ms, is far inside that),
            stores in and returns the delayed samples. Below one sample the integer tap is the
            sample arriving now. In lanes numLines and up, the result is unspecified. */
        forcedinline Simd::Float4 process (Simd::Float4 delayMs, Simd::Float4 in) noexcept;

    private:
        friend class DelayLines;

        float* data;
        int size, write;
        Simd::Float4 perMs, longest, previous, lastDelayMs, lastDelaySamples;
    };

    Running start() const noexcept;
    void stop (const Running& running) noexcept;

    /** Runs numSamples steps: out[i] = process (delayMs[i], in[i]). */
    void process (const Simd::Float4* delayMs, const Simd::Float4* in, Simd::Float4* out, int numSamples) noexcept
    {
        auto running = start();
        for (int i = 0; i < numSamples; ++i)
            out[i] = running.process (delayMs[i], in[i]);
        stop (running);
    }

    float getDelayMs (int line) const noexcept { return lastDelayMs[line]; }
    float getDelaySamples (int line) const noexcept { return lastDelaySamples[line]; }

private:
    /** Line k's (earlier, current) pair, in lanes 0 and 1; lane k of offsets is the index of the
        pair's first float in the buffer. */
    template <int k>
    static Simd::Float4 taps (const float* data, Simd::Int4 offsets) noexcept
    {
        // Unsigned, so that the index widens without a sign extension.
        return Simd::Float4::loadPair (data + (unsigned) offsets.template lane<k>());
    }

    std::unique_ptr<float[]> buffer;
    int bufferSize = 0;
    int writeIndex = 0;
    float samplesPerMs = 0.0f;
    float longestDelay = 0.0f;
    Simd::Float4 lastWritten { 0.0f };
    float lastDelayMs[4] {};
    float lastDelaySamples[4] {};
};

template <int numLines>
typename DelayLines<numLines>::Running DelayLines<numLines>::start() const noexcept
{
    Running running;
    running.data = buffer.get();
    running.size = bufferSize;
    running.write = writeIndex;
    running.perMs = samplesPerMs;
    running.longest = longestDelay;
    running.previous = lastWritten;
    running.lastDelayMs = Simd::Float4::load (lastDelayMs);
    running.lastDelaySamples = Simd::Float4::load (lastDelaySamples);
    return running;
}

template <int numLines>
void DelayLines<numLines>::stop (const Running& running) noexcept
{
    writeIndex = running.write;
    lastWritten = running.previous;
    running.lastDelayMs.store (lastDelayMs);
    running.lastDelaySamples.store (lastDelaySamples);
}

template <int numLines>
forcedinline Simd::Float4 DelayLines<numLines>::Running::process (Simd::Float4 delayMs, Simd::Float4 in) noexcept
{
    const Simd::Float4 zero (0.0f);

    // Above the longest delay: the longest; not above 0 (NaN included): 0.
    const auto samples = min (max (perMs * delayMs, zero), longest);
    const auto whole = Simd::Int4::truncate (samples);
    const auto fraction = samples - whole.toFloat();
    auto read = Simd::Int4 (write) - whole;
    read = read + (read.isNegative() & Simd::Int4 (size));
    const auto offsets = read.shiftedLeft<slotSizeBits>() + Simd::Int4 (0, 2, 4, 6);

    // Below one sample the taps are the input and the sample written last. The write slot is
    // filled with them first, so that the read below finds them there.
    auto* const slot = data + write * slotSize;
    interleaveLow (previous, in).store (slot);
    if constexpr (numLines == 4)
        interleaveHigh (previous, in).store (slot + 4);

    Simd::Float4 earlier, current;
    if constexpr (numLines == 2)
    {
        const auto pairs = lowHalves (taps<0> (data, offsets), taps<1> (data, offsets));
        earlier = evenLanes (pairs, pairs);
        current = oddLanes (pairs, pairs);
    }
    else
    {
        const auto low = lowHalves (taps<0> (data, offsets), taps<1> (data, offsets));
        const auto high = lowHalves (taps<2> (data, offsets), taps<3> (data, offsets));
        earlier = evenLanes (low, high);
        current = oddLanes (low, high);
    }

    const auto y = select (samples > zero, current + (earlier - current) * fraction, in);

    // A feedback of 0, kept as a product: it decides the sign of a stored zero.
    const auto stored = 0.0f * y + in;
    interleaveLow (previous, stored).store (slot);
    if constexpr (numLines == 4)
        interleaveHigh (previous, stored).store (slot + 4);
    previous = stored;

    if (++write >= size)
        write = 0;

    lastDelayMs = delayMs;
    lastDelaySamples = samples;
    return y;
}
