#pragma once

#include "Float4.h"

#include <memory>

/** Fractional delay lines with a two-second buffer each and linear interpolation between the two
    neighbouring taps. The lines of an engine (two or four) advance together, one per lane of a
    Float4, and share one write position; each lane's arithmetic is that of a single line.

    Each buffer slot holds, for every line, the sample written there and the one written just
    before it, so that one load fetches both taps of a read, wrap-around included. */
template <int numLines>
class DelayLines
{
public:
    static_assert (numLines == 2 || numLines == 4, "lanes of a Float4");

    /** Sizes and clears the buffer; every delay restarts at 0 ms. Allocates. */
    void prepare (double sampleRate);

    /** Runs numSamples steps. Step i sets each lane's delay to delayMs[i] milliseconds, held between
        0 and one sample short of the buffer length (every delay the engines ask for, at most
        35 ms, is far inside that), stores in[i] and returns the delayed samples in out[i]. Below
        one sample the integer tap is the sample arriving now. In lanes numLines and up, out is
        unspecified. */
    void process (const Float4* delayMs, const Float4* in, Float4* out, int numSamples) noexcept;

    float getDelayMs (int line) const noexcept { return lastDelayMs[line]; }
    float getDelaySamples (int line) const noexcept { return lastDelaySamples[line]; }

private:
    static constexpr int slotSize = 2 * numLines; // (earlier, current) per line

    /** Line k's (earlier, current) pair at its read position, in lanes 0 and 1. */
    template <int k>
    static Float4 taps (const float* data, Int4 read) noexcept
    {
        return Float4::loadPair (data + read.template lane<k>() * slotSize + 2 * k);
    }

    std::unique_ptr<float[]> buffer;
    int bufferSize = 0;
    int writeIndex = 0;
    float samplesPerMs = 0.0f;
    float longestDelay = 0.0f;
    Float4 lastWritten { 0.0f };
    float lastDelayMs[4] {};
    float lastDelaySamples[4] {};
};

template <int numLines>
void DelayLines<numLines>::process (const Float4* delayMs, const Float4* in, Float4* out, int numSamples) noexcept
{
    // Locals, so that the stores into the buffer do not force the state back to memory.
    auto* const data = buffer.get();
    const auto size = bufferSize;
    const Float4 perMs (samplesPerMs), longest (longestDelay), zero (0.0f);
    auto write = writeIndex;
    auto previous = lastWritten;
    Float4 samples (0.0f);

    for (int i = 0; i < numSamples; ++i)
    {
        // Above the longest delay: the longest; not above 0 (NaN included): 0.
        samples = min (max (perMs * delayMs[i], zero), longest);

        const auto whole = Int4::truncate (samples);
        const auto fraction = samples - whole.toFloat();
        auto read = Int4 (write) - whole;
        read = read + (read.isNegative() & Int4 (size));

        // Below one sample the taps are the input and the sample written last. The write slot is
        // filled with them first, so that the read below finds them there.
        auto* const slot = data + write * slotSize;
        const auto input = in[i];
        interleaveLow (previous, input).store (slot);
        if constexpr (numLines == 4)
            interleaveHigh (previous, input).store (slot + 4);

        Float4 earlier, current;
        if constexpr (numLines == 2)
        {
            const auto pairs = lowHalves (taps<0> (data, read), taps<1> (data, read));
            earlier = evenLanes (pairs, pairs);
            current = oddLanes (pairs, pairs);
        }
        else
        {
            const auto low = lowHalves (taps<0> (data, read), taps<1> (data, read));
            const auto high = lowHalves (taps<2> (data, read), taps<3> (data, read));
            earlier = evenLanes (low, high);
            current = oddLanes (low, high);
        }

        const auto y = select (samples > zero, current + (earlier - current) * fraction, input);

        // A feedback of 0, kept as a product: it decides the sign of a stored zero.
        const auto stored = 0.0f * y + input;
        interleaveLow (previous, stored).store (slot);
        if constexpr (numLines == 4)
            interleaveHigh (previous, stored).store (slot + 4);
        previous = stored;

        if (++write >= size)
            write = 0;

        out[i] = y;
    }

    writeIndex = write;
    lastWritten = previous;
    if (numSamples > 0)
    {
        delayMs[numSamples - 1].store (lastDelayMs);
        samples.store (lastDelaySamples);
    }
}
