#pragma once

#include "processor/params/ControlTable.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <type_traits>

/** The control rate: a linear smoother and a tick value for each smoothed control of the control
    table, a crossfade gain for each mode, and the mailbox through which parameter changes reach
    them. Any thread may post to the mailbox; only the audio thread (or prepare, while it is
    stopped) touches the smoothers, once per control tick. */
class ControlSmoothing
{
public:
    /** One bit per smoothed control: 32 bits while they fit, 64 beyond. */
    using ControlMask = std::conditional_t<ControlTable::numSmoothedControls <= 32, std::uint32_t, std::uint64_t>;
    static_assert (ControlTable::numSmoothedControls <= 64,
                   "more smoothed controls than a 64-bit ControlMask holds: the mask needs several words, "
                   "and step's search for its set bits must walk them");
    // The audio thread collects the bits through an atomic; a lock there could block it.
    static_assert (std::atomic<ControlMask>::is_always_lock_free, "the control mask must hand over without a lock");

    static constexpr ControlMask controlBit (size_t smoothed) { return ControlMask { 1 } << smoothed; }
    // Shifted down from all ones, since shifting 1 up by the mask's full width is undefined.
    static constexpr ControlMask allControls = ~ControlMask { 0 } >> (std::numeric_limits<ControlMask>::digits
                                                                      - ControlTable::numSmoothedControls);

    static constexpr size_t bypassIndex = ControlTable::smoothedControlOf (ControlTable::bypass);
    static constexpr size_t gainIndex = ControlTable::smoothedControlOf (ControlTable::gain);

    /** The index of the lowest set bit; mask must not be 0. The builtin is chosen by the mask's
        width: one for a narrower word would drop the high bits and pick the wrong control. */
    template <typename Mask>
    static constexpr int lowestSetBit (Mask mask) noexcept
    {
        static_assert (std::is_unsigned_v<Mask> && sizeof (Mask) <= sizeof (unsigned long long));
#if defined(__GNUC__) || defined(__clang__)
        if constexpr (sizeof (Mask) <= sizeof (unsigned int))
            return __builtin_ctz (mask);
        else if constexpr (sizeof (Mask) <= sizeof (unsigned long))
            return __builtin_ctzl (mask);
        else
            return __builtin_ctzll (mask);
#else
        return lowestSetBitPortable (mask);
#endif
    }

    /** The same for any compiler. */
    template <typename Mask>
    static constexpr int lowestSetBitPortable (Mask mask) noexcept
    {
        int index = 0;
        for (; (mask & Mask { 1 }) == 0; mask >>= 1)
            ++index;
        return index;
    }

    explicit ControlSmoothing (juce::AudioProcessorValueTreeState& parameters);

    /** Any thread: posts the parameter's new value, which becomes its smoother's target at the next
        control tick. The bypass is posted as 0 or 1, read from the parameter itself. */
    void parameterChanged (const juce::String& parameterID, float newValue);

    /** Any thread: the next control tick jumps every smoother to its parameter's present value, so
        that current value, target and tick value change together and never under the audio
        thread's feet, and the slice it falls in pushes every value into the engines. */
    void requestJump() { jumpPending.store (true, std::memory_order_release); }

    /** While the audio thread is stopped: fixes the control interval and the ramp lengths for the
        sample rate and makes the jump at once; whatever was posted before is contained in it. */
    void prepare (double sampleRate);

    /** Audio thread: one control tick. Steps the smoothers that move and the mode gains, and returns
        the smoothed controls whose tick value changed (all of them while a jump's push is due). */
    ControlMask step();

    /** Audio thread: true when a step now would leave every value as it is. */
    bool stepChangesNothing() const
    {
        if (forceParameterUpdate || movingControls != 0 || pendingControls.load (std::memory_order_relaxed) != 0
            || jumpPending.load (std::memory_order_relaxed) || modeChangePending.load (std::memory_order_relaxed))
            return false;

        for (size_t k = 0; k < modeGainSmoothers.size(); ++k)
            if (modeGainSmoothers[k].isSmoothing() || modeGainValues[k] != modeGainSmoothers[k].getTargetValue())
                return false;

        return true;
    }

    /** Audio thread, at the end of a slice: the push that a jump asks for has been made. */
    void finishSlice() { forceParameterUpdate = false; }

    int getControlInterval() const { return controlInterval; }
    float value (size_t smoothed) const { return values[smoothed]; }
    const std::array<float, ControlTable::numModes>& modeGains() const { return modeGainValues; }

    /** A mode runs while it is selected or while its gain still fades. */
    const std::array<bool, ControlTable::numModes>& runningModes() const { return modeRunning; }

private:
    using Smoother = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;
    static constexpr auto numSmoothedControls = ControlTable::numSmoothedControls;

    void applyJump();

    // Smoothed controls in the order parameterChanged compares identifiers: parameter order.
    std::array<juce::String, numSmoothedControls> parameterIds;
    std::array<std::atomic<float>*, numSmoothedControls> parameterValues {};
    const juce::String modeParameterId;
    std::atomic<float>* modeParameterValue = nullptr;

    std::array<Smoother, numSmoothedControls> smoothers;
    std::array<float, numSmoothedControls> values {};
    std::array<Smoother, ControlTable::numModes> modeGainSmoothers;
    std::array<float, ControlTable::numModes> modeGainValues {};
    std::array<bool, ControlTable::numModes> modeRunning {};

    int controlInterval = 1;
    bool forceParameterUpdate = true;

    // Hand-off from the threads that set parameters to the audio thread. A setter stores the
    // new target and then raises the smoothed control's bit (release); the audio thread collects
    // the bits at each control tick (acquire) and only then touches the smoothers, which it alone
    // owns.
    std::array<std::atomic<float>, numSmoothedControls> pendingTargets {};
    std::atomic<ControlMask> pendingControls { 0 };
    // Smoothed controls whose smoother ramps or whose tick value has not caught up with the
    // target yet.
    ControlMask movingControls = allControls;
    std::atomic<bool> modeChangePending { false };
    std::atomic<bool> jumpPending { false };
    std::atomic<bool> isBypassed { false };
    std::atomic<float> currentChorusMode { -1.0f };

    friend struct ProcessorTestAccess;

    JUCE_DECLARE_NON_COPYABLE (ControlSmoothing)
};

namespace ControlMaskChecks
{
/** Whether both searches find every bit of the word, alone and under all the bits above it. */
template <typename Mask>
constexpr bool lowestSetBitFindsEveryBit()
{
    for (int bit = 0; bit < std::numeric_limits<Mask>::digits; ++bit)
    {
        const auto finds = [bit] (Mask mask) {
            return ControlSmoothing::lowestSetBit (mask) == bit && ControlSmoothing::lowestSetBitPortable (mask) == bit;
        };
        if (! finds (Mask { 1 } << bit) || ! finds (~Mask { 0 } << bit))
            return false;
    }
    return true;
}

static_assert (lowestSetBitFindsEveryBit<std::uint32_t>() && lowestSetBitFindsEveryBit<std::uint64_t>(),
               "lowestSetBit must search the whole width of the mask");
} // namespace ControlMaskChecks
