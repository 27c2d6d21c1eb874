#pragma once

#include "processor/PluginProcessor.h"

#include <stdexcept>

/** Lets tests look at the audio thread's private control state. */
struct ProcessorTestAccess
{
    using Processor = QexTidewellAudioProcessor;

    static int controlInterval (const Processor& p) { return p.smoothing.controlInterval; }

    /** Tick value of the control driven by the parameter, "bypass" included. */
    static float tickValue (const Processor& p, const char* parameterId)
    {
        return p.smoothing.values[slotOf (parameterId)];
    }

    static float target (const Processor& p, const char* parameterId)
    {
        return p.smoothing.smoothers[slotOf (parameterId)].getTargetValue();
    }

    static std::array<float, 4> modeGains (const Processor& p) { return p.smoothing.modeGainValues; }

    /** Holds the meter feed as the audio thread does while it writes the pairs. */
    static void holdMeterFeed (Processor& p, bool held) { p.meterFeed.meterFeedBusy.store (held); }

    static void loadSettings (Processor& p) { p.loadSettings(); }

private:
    static size_t slotOf (const char* parameterId)
    {
        for (size_t slot = 0; slot < ControlTable::numSlots; ++slot)
            if (ControlTable::slotId (slot) == parameterId)
                return slot;

        throw std::invalid_argument (parameterId);
    }
};
