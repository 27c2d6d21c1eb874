#include "ControlTable.h"

namespace ControlTable
{
juce::String modeSelectorId() { return juce::String ("param") + modeSelector.suffix; }

juce::String globalControlId (size_t control) { return juce::String ("param") + globalControls[control].suffix; }

juce::String modeControlId (const juce::String& modeName, size_t control)
{
    return "param" + modeName + modeControls[control].suffix;
}

juce::String smoothedControlId (size_t smoothed)
{
    const auto& s = smoothedControls[smoothed];
    return s.mode == everyMode ? globalControlId (s.control) : modeControlId (modes[s.mode].name, s.control);
}
} // namespace ControlTable
