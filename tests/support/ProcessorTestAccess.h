#pragma once

#include "processor/PluginProcessor.h"

#include <cstring>

/** Lets tests look at the audio thread's private control state. */
struct ProcessorTestAccess
{
    using Processor = QexTidewellAudioProcessor;

    static int controlInterval (const Processor& p) { return p.controlInterval; }

    /** Tick value of the control driven by the parameter, "bypass" included. */
    static float tickValue (const Processor& p, const char* parameterId) { return *slotOf (p, parameterId).value; }

    static float target (const Processor& p, const char* parameterId)
    {
        return slotOf (p, parameterId).smoother->getTargetValue();
    }

    static std::array<float, 4> modeGains (const Processor& p) { return p.modeGainValues; }

    /** Holds the meter feed as the audio thread does while it writes the pairs. */
    static void holdMeterFeed (Processor& p, bool held) { p.meterFeedBusy.store (held); }

    static void loadSettings (Processor& p) { p.loadSettings(); }

private:
    static const Processor::ControlSlot& slotOf (const Processor& p, const char* parameterId)
    {
        for (const auto& slot : p.slots)
            if (std::strcmp (slot.parameterId, parameterId) == 0)
                return slot;

        throw std::invalid_argument (parameterId);
    }
};
