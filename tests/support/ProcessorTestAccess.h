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
        return p.smoothing.values[smoothedControlOf (parameterId)];
    }

    static float target (const Processor& p, const char* parameterId)
    {
        return p.smoothing.smoothers[smoothedControlOf (parameterId)].getTargetValue();
    }

    static std::array<float, 4> modeGains (const Processor& p) { return p.smoothing.modeGainValues; }

    /** Holds the meter feed as the audio thread does while it writes the pairs. */
    static void holdMeterFeed (Processor& p, bool held) { p.meterFeed.meterFeedBusy.store (held); }

    static void loadSettings (Processor& p) { p.loadSettings(); }

private:
    static size_t smoothedControlOf (const char* parameterId)
    {
        for (size_t smoothed = 0; smoothed < ControlTable::numSmoothedControls; ++smoothed)
            if (ControlTable::smoothedControlId (smoothed) == parameterId)
                return smoothed;

        throw std::invalid_argument (parameterId);
    }
};
