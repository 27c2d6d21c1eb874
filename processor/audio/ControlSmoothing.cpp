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
    for (size_t slot = 0; slot < numSlots; ++slot)
    {
        parameterIds[slot] = ControlTable::slotId (slot);
        parameterValues[slot] = parameters.getRawParameterValue (parameterIds[slot]);
        jassert (parameterValues[slot] != nullptr);
    }
}

void ControlSmoothing::parameterChanged (const juce::String& parameterID, float newValue)
{
    for (size_t slot = 0; slot < numSlots; ++slot)
    {
        if (parameterID != parameterIds[slot])
            continue;

        if (slot == bypassSlot)
        {
            isBypassed.store (parameterValues[slot]->load() != 0.0f);
            newValue = isBypassed.load() ? 1.0f : 0.0f;
        }

        pendingTargets[slot].store (newValue, std::memory_order_relaxed);
        pendingSlots.fetch_or (slotBit (slot), std::memory_order_release);
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

    for (size_t slot = 0; slot < numSlots; ++slot)
        smoothers[slot].reset (rampSteps (ControlTable::slots[slot].rampSeconds, controlInterval, sampleRate));
    for (auto& smoother : modeGainSmoothers)
        smoother.reset (rampSteps (ControlTable::modeSelector.rampSeconds, controlInterval, sampleRate));

    currentChorusMode.store (modeParameterValue->load());

    pendingSlots.store (0);
    modeChangePending.store (false);
    jumpPending.store (false);
    applyJump();
}

ControlSmoothing::SlotMask ControlSmoothing::tick()
{
    // The plain loads spare the locked exchanges at the ticks where nothing is waiting, which
    // are most of them.
    if (jumpPending.load (std::memory_order_relaxed) && jumpPending.exchange (false, std::memory_order_acquire))
        applyJump();

    if (pendingSlots.load (std::memory_order_relaxed) != 0)
    {
        const auto pending = pendingSlots.exchange (0, std::memory_order_acquire);
        for (size_t slot = 0; slot < numSlots; ++slot)
            if ((pending & slotBit (slot)) != 0)
                smoothers[slot].setTargetValue (pendingTargets[slot].load (std::memory_order_relaxed));
        movingSlots |= pending;
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

    // A slot outside movingSlots has no ramp and its tick value equals its target, so stepping it
    // would change nothing.
    SlotMask changed = 0;
    for (auto moving = movingSlots; moving != 0; moving &= moving - 1)
    {
        const auto slot = (size_t) lowestSetBit (moving);
        auto& smoother = smoothers[slot];
        const auto before = values[slot];
        values[slot] = smoother.getNextValue();
        if (values[slot] != before)
            changed |= slotBit (slot);
        if (! smoother.isSmoothing() && values[slot] == smoother.getTargetValue())
            movingSlots &= ~slotBit (slot);
    }

    for (size_t k = 0; k < modeGainSmoothers.size(); ++k)
    {
        modeGainValues[k] = modeGainSmoothers[k].getNextValue();

        const auto target = modeGainSmoothers[k].getTargetValue();
        modeRunning[k] = target == 1.0f || modeGainValues[k] != target;
    }

    return forceParameterUpdate ? allSlots : changed;
}

void ControlSmoothing::applyJump()
{
    forceParameterUpdate = true;
    movingSlots = allSlots;

    for (size_t slot = 0; slot < numSlots; ++slot)
    {
        if (slot == bypassSlot)
        {
            // Its tick value follows at the next control tick.
            smoothers[slot].setCurrentAndTargetValue (isBypassed.load() ? 1.0f : 0.0f);
            continue;
        }

        const auto value = parameterValues[slot]->load();
        smoothers[slot].setCurrentAndTargetValue (value);
        values[slot] = value;
    }

    const auto selected = ControlTable::modeSelectedBy (currentChorusMode.load());
    for (size_t k = 0; k < modeGainSmoothers.size(); ++k)
    {
        const auto gainOfMode = k == selected ? 1.0f : 0.0f;
        modeGainSmoothers[k].setCurrentAndTargetValue (gainOfMode);
        modeGainValues[k] = gainOfMode;
    }
}
