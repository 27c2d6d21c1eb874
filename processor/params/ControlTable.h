#pragma once

#include "processor/dsp/ChorusControls.h"

#include <juce_core/juce_core.h>

#include <array>
#include <cstddef>

/** The chorus modes and the controls, declared once. The parameter layout, the smoothed controls, the
    engine pushes, the preset keep groups and the editor's knob ids are all derived from these tables.
    Hosts, saved projects, presets and clipboard texts rely on the IDs, names, ranges, defaults, order
    and texts of the rows there are, so none of them may change: a new control is a new row, last in
    its table, with a higher sinceVersion (see the README). */
namespace ControlTable
{
struct Mode
{
    const char* name; // the mode's part of its parameter IDs and names, and its value text
    const char* tabText;
    bool hasVibrato;
};

/** Index k is the value of the mode parameter that selects the mode. */
inline constexpr std::array<Mode, 4> modes { {
    { "Sixty", "SIXTY", false },
    { "Studio", "STUDIO", false },
    { "Ensemble", "ENSEMBLE", true },
    { "Quad", "QUAD", true },
} };

inline constexpr size_t numModes = modes.size();

/** The mode that a value of the mode selector selects: k for the value k, the last mode for any
    other value (the parameter's step lets it hold no other once set). */
constexpr size_t modeSelectedBy (float value)
{
    for (size_t k = 0; k + 1 < numModes; ++k)
        if (value == (float) k)
            return k;
    return numModes - 1;
}

/** How a value becomes text and a text a value. */
enum class Text
{
    hertz,
    milliseconds,
    percent,
    fractionAsPercent,
    decibels,
    frequency,
    modeName,
    bypass
};

struct Range
{
    float start, end, step;
    bool evenOctaves = false; // moves evenly through the octaves, without a step
};

// Ramp lengths of the smoothers, in seconds.
inline constexpr double slowRamp = 0.5;
inline constexpr double fastRamp = 0.1;
inline constexpr double bypassRamp = 0.05;
inline constexpr double modeCrossfadeRamp = 0.5;

/** Indices into modeControls; each row names its entry, which is checked below. */
enum ModeControlIndex : size_t
{
    rate,
    depth,
    vibratoRate,
    vibratoAmount,
    delay,
    wet,
    highpass,
    tone,
    numModeControls
};

/** A control of every mode, or of every mode with a vibrato. Its parameter ID is "param", the mode's
    name and the suffix; its parameter name the mode's name, a blank and the display name. */
struct ModeControl
{
    ModeControlIndex index;
    const char* suffix;
    const char* displayName;
    const char* shortName; // the knob's caption, under a heading that says the rest
    Range range;
    std::array<float, numModes> defaults; // in mode order; 0 where the mode lacks the control
    Text text;
    double rampSeconds;
    bool needsVibrato;
    // The engine value it sets. Pushing it into an engine without a setter for it does not compile
    // (ChorusEngineBase::set).
    float ChorusControls::*engineValue;
    // The release that added it. An Audio Unit lists parameters by this, then by a hash of the ID,
    // and some hosts keep automation by that place: a control added later takes a higher number.
    int sinceVersion = 1;
};

/** In the order of each mode's parameters. */
inline constexpr std::array<ModeControl, numModeControls> modeControls { {
    { rate,
      "Rate",
      "Rate",
      "Rate",
      { 0.1f, 6.0f, 0.01f },
      { 0.86f, 0.25f, 0.2f, 0.21f },
      Text::hertz,
      slowRamp,
      false,
      &ChorusControls::rate },
    { depth,
      "Depth",
      "Depth",
      "Depth",
      { 0.1f, 10.0f, 0.01f },
      { 3.99f, 4.0f, 3.0f, 4.44f },
      Text::milliseconds,
      slowRamp,
      false,
      &ChorusControls::depth },
    { vibratoRate,
      "VibRate",
      "Vibrato Rate",
      "Rate",
      { 0.1f, 6.0f, 0.01f },
      { 0.0f, 0.0f, 5.0f, 5.71f },
      Text::hertz,
      slowRamp,
      true,
      &ChorusControls::vibratoRate },
    { vibratoAmount,
      "VibAmount",
      "Vibrato Amount",
      "Amount",
      { 0.0f, 1.0f, 0.01f },
      { 0.0f, 0.0f, 0.4f, 0.4f },
      Text::fractionAsPercent,
      slowRamp,
      true,
      &ChorusControls::vibratoAmount },
    { delay,
      "Delay",
      "Delay",
      "Delay",
      { 0.1f, 20.0f, 0.1f },
      { 1.61f, 6.0f, 4.0f, 2.25f },
      Text::milliseconds,
      slowRamp,
      false,
      &ChorusControls::delay },
    { wet,
      "Wet",
      "Wet",
      "Wet",
      { 0.0f, 100.0f, 1.0f },
      { 50.0f, 45.0f, 50.0f, 50.0f },
      Text::percent,
      fastRamp,
      false,
      &ChorusControls::wet },
    { highpass,
      "Highpass",
      "Highpass",
      "Highpass",
      { 20.0f, 10000.0f, 0.0f, true },
      { 20.0f, 20.0f, 20.0f, 20.0f },
      Text::frequency,
      fastRamp,
      false,
      &ChorusControls::highpass },
    { tone,
      "Tone",
      "Lowpass",
      "Lowpass",
      { 1000.0f, 20000.0f, 100.0f },
      { 4000.0f, 8000.0f, 12000.0f, 12000.0f },
      Text::frequency,
      fastRamp,
      false,
      &ChorusControls::lowpass },
} };

/** The first parameter; it is no smoothed control: each mode's gain ramps instead. */
struct ModeSelector
{
    const char* suffix; // its ID is "param" and the suffix
    const char* name;
    Range range;
    float defaultValue;
    Text text;
    double rampSeconds; // of each mode's gain
};

inline constexpr ModeSelector modeSelector { "ChorusMode", "Mode",         { 0.0f, (float) numModes - 1.0f, 1.0f },
                                             0.0f,         Text::modeName, modeCrossfadeRamp };

/** Indices into globalControls; each row names its entry, which is checked below. */
enum GlobalControlIndex : size_t
{
    bypass,
    spread,
    gain,
    numGlobalControls
};

/** A parameter of no mode. Its ID is "param" and the suffix. */
struct GlobalControl
{
    GlobalControlIndex index;
    const char* suffix;
    const char* name;
    Range range;
    float defaultValue;
    Text text;
    double rampSeconds;
    float ChorusControls::*engineValue; // set in every engine; null where no engine has it
    int sinceVersion = 1;               // as a mode control's
};

/** The last parameters, after every mode's controls, in this order. */
inline constexpr std::array<GlobalControl, numGlobalControls> globalControls { {
    { bypass, "BypassGlobal", "Bypass", { 0.0f, 1.0f, 1.0f }, 0.0f, Text::bypass, bypassRamp, nullptr },
    { spread, "Spread", "Spread", { 0.0f, 200.0f, 1.0f }, 100.0f, Text::percent, fastRamp, &ChorusControls::spread },
    { gain, "Gain", "Volume", { -12.0f, 12.0f, 0.1f }, 0.0f, Text::decibels, fastRamp, nullptr },
} };

/** Whether every row sits at the place of the index entry it names, so that no entry can name
    another row and no row is missing. */
template <typename Row, size_t numRows>
constexpr bool eachRowAtItsIndex (const std::array<Row, numRows>& rows)
{
    for (size_t k = 0; k < numRows; ++k)
        if (rows[k].index != k)
            return false;
    return true;
}

static_assert (eachRowAtItsIndex (modeControls), "the rows of modeControls must follow ModeControlIndex");
static_assert (eachRowAtItsIndex (globalControls), "the rows of globalControls must follow GlobalControlIndex");

constexpr bool everyModeControlSetsAnEngineValue()
{
    for (const auto& control : modeControls)
        if (control.engineValue == nullptr)
            return false;
    return true;
}

static_assert (everyModeControlSetsAnEngineValue(), "a mode control reaches the sound only through its engine");

constexpr bool modeHas (size_t mode, size_t control)
{
    return modes[mode].hasVibrato || ! modeControls[control].needsVibrato;
}

//==============================================================================
// Smoothed controls: one per smoother, in parameter order without the mode selector, so every
// mode's controls and then the global controls.

/** The mode of a global control's smoothed control, whose value goes to every engine. */
inline constexpr size_t everyMode = numModes;

struct SmoothedControl
{
    size_t mode;    // everyMode for a global control
    size_t control; // index into modeControls, or into globalControls for a global control
    double rampSeconds;
    float ChorusControls::*engineValue;
};

constexpr size_t firstSmoothedControlOf (size_t mode)
{
    size_t smoothed = 0;
    for (size_t k = 0; k < mode; ++k)
        for (size_t control = 0; control < modeControls.size(); ++control)
            if (modeHas (k, control))
                ++smoothed;
    return smoothed;
}

inline constexpr size_t numSmoothedControls = firstSmoothedControlOf (numModes) + globalControls.size();

/** The index of the global control's smoothed control. */
constexpr size_t smoothedControlOf (GlobalControlIndex control) { return firstSmoothedControlOf (numModes) + control; }

inline constexpr auto smoothedControls = []
{
    std::array<SmoothedControl, numSmoothedControls> table {};
    size_t smoothed = 0;
    for (size_t mode = 0; mode < numModes; ++mode)
        for (size_t control = 0; control < modeControls.size(); ++control)
            if (modeHas (mode, control))
                table[smoothed++] = { mode, control, modeControls[control].rampSeconds,
                                      modeControls[control].engineValue };
    for (size_t control = 0; control < globalControls.size(); ++control)
        table[smoothed++] = { everyMode, control, globalControls[control].rampSeconds,
                              globalControls[control].engineValue };
    return table;
}();

/** Whether the smoothed control's value goes to the engine of the mode. */
constexpr bool feedsEngine (const SmoothedControl& smoothed, size_t mode)
{
    return smoothed.engineValue != nullptr && (smoothed.mode == mode || smoothed.mode == everyMode);
}

//==============================================================================
/** "paramChorusMode". */
juce::String modeSelectorId();

/** The ID of a global control. */
juce::String globalControlId (size_t control);

/** The ID of a mode's control, also for a vibrato control of a mode without a vibrato, which names
    no parameter. */
juce::String modeControlId (const juce::String& modeName, size_t control);

/** The ID of the parameter that drives the smoothed control. */
juce::String smoothedControlId (size_t smoothed);
} // namespace ControlTable
