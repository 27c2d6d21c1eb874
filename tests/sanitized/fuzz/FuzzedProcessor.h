#pragma once

#include "processor/PluginProcessor.h"
#include "support/ParameterValues.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>
#include <vector>

/** libFuzzer's entry point, defined by each fuzz program. */
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size);

/** Sets the framework up once for the whole run. At exit it goes after every processor but
    before the framework's own statics, which its destructor still uses: the first processor
    makes those, so the deletion is registered once one was made. */
inline void initialiseFrameworkOnce()
{
    static juce::ScopedJuceInitialiser_GUI* framework = nullptr;

    if (framework != nullptr)
        return;

    framework = new juce::ScopedJuceInitialiser_GUI();
    {
        const QexTidewellAudioProcessor makesTheFrameworksStatics;
    }
    std::atexit ([] { delete std::exchange (framework, nullptr); });
}

/** A processor of its own for one generation of an input: what a fresh instance reads and
    saves depends on nothing an earlier input left behind, as in a host that reopens a project. */
inline std::unique_ptr<QexTidewellAudioProcessor> freshProcessor()
{
    initialiseFrameworkOnce();
    return std::make_unique<QexTidewellAudioProcessor>();
}

inline QexTidewellAudioProcessor*& fuzzedInstance()
{
    static QexTidewellAudioProcessor* instance = nullptr;
    return instance;
}

/** The processor every fuzz input is thrown at, built once: constructing one per input
    would spend the time on the parameter layout instead of the input. */
inline QexTidewellAudioProcessor& fuzzedProcessor()
{
    auto*& instance = fuzzedInstance();

    if (instance == nullptr)
    {
        initialiseFrameworkOnce();
        instance = new QexTidewellAudioProcessor();

        // Registered after the framework, it is deleted before it.
        std::atexit ([] { delete std::exchange (fuzzedInstance(), nullptr); });
    }

    return *instance;
}

/** Stops the run when a parameter left its range or became NaN: the audio path relies on
    neither happening. */
inline void requireParametersInRange (QexTidewellAudioProcessor& processor)
{
    for (const auto& [id, value] : parameterValues (processor))
    {
        const auto& range = processor.parameters.getParameter (id)->getNormalisableRange();

        if (! (value >= range.start && value <= range.end))
            std::abort();
    }
}

/** Stops the run when two sets of values differ by more than float rounding: what was
    saved must come back. */
inline void requireSameValues (const std::map<juce::String, float>& expected,
                               const std::map<juce::String, float>& actual)
{
    for (const auto& [id, value] : expected)
        if (std::abs (actual.at (id) - value) > 1.0e-5f * std::max (1.0f, std::abs (value)))
            std::abort();
}

/** Stops the run unless the two blocks hold the same bytes: what a fresh instance read, it
    writes again as it was written. */
inline void requireSameBytes (const juce::MemoryBlock& expected, const juce::MemoryBlock& actual)
{
    if (expected != actual)
        std::abort();
}

/** The bytes as text of the kind hosts and text fields hand over: valid UTF-8 as it is, any
    other bytes each taken as one character. */
inline juce::String textFrom (const uint8_t* data, size_t size)
{
    if (juce::CharPointer_UTF8::isValidString (reinterpret_cast<const char*> (data), (int) size))
        return juce::String::fromUTF8 (reinterpret_cast<const char*> (data), (int) size);

    juce::String text;
    for (size_t i = 0; i < size; ++i)
        if (data[i] != 0)
            text += (juce::juce_wchar) data[i];
    return text;
}
