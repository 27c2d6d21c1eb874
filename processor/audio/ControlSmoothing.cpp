#include "ControlSmoothing.h"

#include <cmath>

namespace
{
int rampSteps (double seconds, int controlInterval, double sampleRate)
{
    return (int) std::floor ((seconds / controlInterval) * sampleRate);
}
} // namespace

ControlSmoothing::ControlSmoothing (juce::AudioProcessorValueTreeState& parameters)
    : modeParameterId (ControlTable::modeSelectorId()),
      modeParameterValue (parameters.getRawParameterValue (modeParameterId))
{
    for (size_t smoothed = 0; smoothed < numSmoothedControls; ++smoothed)
    {
        parameterIds[smoothed] = ControlTable::smoothedControlId (smoothed);
        parameterValues[smoothed] = parameters.getRawParameterValue (parameterIds[smoothed]);
        jassert (parameterValues[smoothed] != nullptr);
    }
}

void ControlSmoothing::parameterChanged (const juce::String& parameterID, float newValue)
{
    for (size_t smoothed = 0; smoothed < numSmoothedControls; ++smoothed)
    {
        if (parameterID != parameterIds[smoothed])
            continue;

        if (smoothed == bypassIndex)
        {
            isBypassed.store (parameterValues[smoothed]->load() != 0.0f);
            newValue = isBypassed.load() ? 1.0f : 0.0f;
        }

        pendingTargets[smoothed].store (newValue, std::memory_order_relaxed);
        pendingControls.fetch_or (controlBit (smoothed), std::memory_order_release);
        return;
    }

    if (parameterID == modeParameterId)
    {
        currentChorusMode.store (newValue, std::memory_order_relaxed);
        modeChangePending.store (true, std::memory_order_release);
    }
}

void ControlSmoothing::prepare (double sampleRate)
{
    // About 860 control ticks per second at every sample rate.
    controlInterval = (int) std::ceil (sampleRate / 44100.0 * 51.0);

    for (size_t smoothed = 0; smoothed < numSmoothedControls; ++smoothed)
        smoothers[smoothed].reset (
            rampSteps (ControlTable::smoothedControls[smoothed].rampSeconds, controlInterval, sampleRate));
    for (auto& smoother : modeGainSmoothers)
        smoother.reset (rampSteps (ControlTable::modeSelector.rampSeconds, controlInterval, sampleRate));

    currentChorusMode.store (modeParameterValue->load());

    pendingControls.store (0);
    modeChangePending.store (false);
    jumpPending.store (false);
    applyJump();
}

ControlSmoothing::ControlMask ControlSmoothing::step()
{
    // The plain loads spare the locked exchanges at the control ticks where nothing is waiting, which
    // are most of them.
    if (jumpPending.load (std::memory_order_relaxed) && jumpPending.exchange (false, std::memory_order_acquire))
        applyJump();

    if (pendingControls.load (std::memory_order_relaxed) != 0)
    {
        const auto pending = pendingControls.exchange (0, std::memory_order_acquire);
        for (size_t smoothed = 0; smoothed < numSmoothedControls; ++smoothed)
            if ((pending & controlBit (smoothed)) != 0)
                smoothers[smoothed].setTargetValue (pendingTargets[smoothed].load (std::memory_order_relaxed));
        movingControls |= pending;
    }

    if (modeChangePending.load (std::memory_order_relaxed)
        && modeChangePending.exchange (false, std::memory_order_acquire))
    {
        const auto selected = ControlTable::modeSelectedBy (currentChorusMode.load (std::memory_order_relaxed));
        for (size_t k = 0; k < modeGainSmoothers.size(); ++k)
        {
            // A gain still on its way to the same target restarts its ramp too: only when all the
            // ramps start together do the gains keep summing to 1.
            auto& gain = modeGainSmoothers[k];
            const auto target = k == selected ? 1.0f : 0.0f;
            if (gain.isSmoothing() && gain.getTargetValue() == target)
                gain.setCurrentAndTargetValue (gain.getCurrentValue());
            gain.setTargetValue (target);
        }
    }

    // A smoothed control outside movingControls has no ramp and its tick value equals its target, so
    // stepping it would change nothing.
    ControlMask changed = 0;
    for (auto moving = movingControls; moving != 0; moving &= moving - 1)
    {
        const auto smoothed = (size_t) lowestSetBit (moving);
        auto& smoother = smoothers[smoothed];
        const auto before = values[smoothed];
        values[smoothed] = smoother.getNextValue();
        if (values[smoothed] != before)
            changed |= controlBit (smoothed);
        if (! smoother.isSmoothing() && values[smoothed] == smoother.getTargetValue())
            movingControls &= ~controlBit (smoothed);
    }

    for (size_t k = 0; k < modeGainSmoothers.size(); ++k)
    {
        modeGainValues[k] = modeGainSmoothers[k].getNextValue();

        const auto target = modeGainSmoothers[k].getTargetValue();
        modeRunning[k] = target == 1.0f || modeGainValues[k] != target;
    }

    return forceParameterUpdate ? allControls : changed;
}

void ControlSmoothing::applyJump()
{
    forceParameterUpdate = true;
    movingControls = allControls;

    for (size_t smoothed = 0; smoothed < numSmoothedControls; ++smoothed)
    {
        if (smoothed == bypassIndex)
        {
            // Its tick value follows at the next control tick.
            smoothers[smoothed].setCurrentAndTargetValue (isBypassed.load() ? 1.0f : 0.0f);
            continue;
        }

        const auto value = parameterValues[smoothed]->load();
        smoothers[smoothed].setCurrentAndTargetValue (value);
        values[smoothed] = value;
    }

    const auto selected = ControlTable::modeSelectedBy (currentChorusMode.load());
    for (size_t k = 0; k < modeGainSmoothers.size(); ++k)
    {
        const auto gainOfMode = k == selected ? 1.0f : 0.0f;
        modeGainSmoothers[k].setCurrentAndTargetValue (gainOfMode);
        modeGainValues[k] = gainOfMode;
    }
}
