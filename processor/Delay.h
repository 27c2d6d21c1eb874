#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** Fractional delay line with a two-second buffer and linear interpolation between the two
    neighbouring taps. */
class Delay
{
public:
    /** Sizes and clears the buffer; the delay restarts at 0 ms. Allocates. */
    void prepare (double newSampleRate);

    /** Replaces the lines of an engine with count new ones, prepared for sampleRate. */
    static void rebuild (juce::OwnedArray<Delay>& lines, int count, double sampleRate);

    /** A request is held between 0 and one sample short of the buffer length, so the taps never
        leave the buffer; every delay the engines ask for (at most 35 ms) is far inside that. */
    void setDelay (float ms) noexcept;

    /** One sample in, one delayed sample out; the input is stored on every call. */
    float process (float in) noexcept;

    float getDelayMs() const noexcept { return delayMs; }
    float getDelaySamples() const noexcept { return delaySamples; }

private:
    double sampleRate = 44100.0;
    std::unique_ptr<float[]> buffer;
    int bufferSize = 0;
    float delayMs = 0.0f;
    float delaySamples = 0.0f;
    int readIndex = 0;
    int writeIndex = 0;
    float feedback = 0.0f;

    // Derived once in prepare or setDelay, so that neither setDelay divides nor process truncates.
    float samplesPerMs = 0.0f;
    float longestDelay = 0.0f;
    float fraction = 0.0f;
};

inline void Delay::setDelay (float ms) noexcept
{
    delayMs = ms;
    delaySamples = samplesPerMs * ms;

    if (delaySamples > longestDelay)
        delaySamples = longestDelay;
    else if (! (delaySamples > 0.0f))
        delaySamples = 0.0f;

    const auto whole = (int) delaySamples;
    fraction = delaySamples - (float) whole;
    readIndex = writeIndex - whole;
    if (readIndex < 0)
        readIndex += bufferSize;
}

inline float Delay::process (float in) noexcept
{
    auto* const data = buffer.get();
    auto y = in;

    if (delaySamples > 0.0f)
    {
        // Below one sample the integer tap is the sample arriving now, which is not stored yet.
        const auto s0 = (readIndex == writeIndex && delaySamples < 1.0f) ? in : data[readIndex];
        const auto s1 = data[(readIndex <= 0 ? bufferSize : readIndex) - 1];
        y = s0 + (s1 - s0) * fraction;
    }

    data[writeIndex] = feedback * y + in;

    if (++writeIndex >= bufferSize)
        writeIndex = 0;
    if (++readIndex >= bufferSize)
        readIndex = 0;

    return y;
}
