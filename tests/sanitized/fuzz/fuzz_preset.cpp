#include "FuzzedProcessor.h"

#include "processor/state/StateXml.h"

// A preset file as a user might have edited it. The first byte switches the three load
// options, the rest is the file.
// Generation 1: a fresh instance loads it, keeps every parameter in range, and with the options
// off saves a preset and a state. Generation 2: another fresh instance takes that state and
// that preset, holds the same values, and writes the same bytes again.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;

    const auto first = freshProcessor();
    const auto folder = juce::File (first->userPresetFolder);
    const juce::Identifier keys[] { Settings::ignorePresetInactiveModes, Settings::ignorePresetSpreadParam,
                                    Settings::ignorePresetVolumeParam };

    for (int i = 0; i < 3; ++i)
        first->settings.setOption (keys[i], (data[0] >> i) & 1);

    const auto file = folder.getChildFile ("fuzzed.qexp");
    file.replaceWithData (data + 1, size - 1);
    first->loadPreset (file.getFullPathName());
    requireParametersInRange (*first);

    // With every option off a saved preset brings back all it holds.
    for (const auto& key : keys)
        first->settings.setOption (key, false);

    const auto saved = folder.getChildFile ("saved.qexp");
    if (! first->savePreset (saved.getFullPathName()))
        std::abort();

    juce::MemoryBlock preset, state;
    saved.loadFileAsData (preset);
    first->getStateInformation (state);
    const auto values = parameterValues (*first);

    const auto second = freshProcessor();
    second->setStateInformation (state.getData(), (int) state.getSize());
    requireSameValues (values, parameterValues (*second));

    juce::MemoryBlock stateAgain;
    second->getStateInformation (stateAgain);
    requireSameBytes (state, stateAgain);

    if (! second->loadPreset (saved.getFullPathName()) || ! second->savePreset (saved.getFullPathName()))
        std::abort();

    requireSameValues (values, parameterValues (*second));

    juce::MemoryBlock presetAgain;
    saved.loadFileAsData (presetAgain);
    requireSameBytes (preset, presetAgain);
    return 0;
}
