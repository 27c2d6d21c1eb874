#include "FuzzedProcessor.h"

#include "processor/state/StateXml.h"

// A preset file as a user might have edited it. The first byte switches the three load
// options, the rest is the file. A load must keep every parameter in range, and the state and
// the preset saved after it must be read back, the preset with the same values.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;

    auto& processor = fuzzedProcessor();
    const auto folder = juce::File (processor.userPresetFolder);
    const auto options = data[0];
    const juce::Identifier keys[] { Settings::ignorePresetInactiveModes, Settings::ignorePresetSpreadParam,
                                    Settings::ignorePresetVolumeParam };

    for (int i = 0; i < 3; ++i)
        processor.settings.setOption (keys[i], (options >> i) & 1);

    const auto file = folder.getChildFile ("fuzzed.qexp");
    file.replaceWithData (data + 1, size - 1);
    processor.loadPreset (file.getFullPathName());
    requireParametersInRange (processor);

    // With every option off a saved preset brings back all it holds.
    for (const auto& key : keys)
        processor.settings.setOption (key, false);

    const auto loaded = parameterValues (processor);

    // Whatever loaded is saved in a state that is read back, and in a preset that loads.
    juce::MemoryBlock state;
    processor.getStateInformation (state);
    if (StateXml::fromBinary (state.getData(), (int) state.getSize()) == nullptr)
        std::abort();

    const auto saved = folder.getChildFile ("saved.qexp");

    if (! processor.savePreset (saved.getFullPathName()) || ! processor.loadPreset (saved.getFullPathName()))
        std::abort();

    requireSameValues (loaded, parameterValues (processor));
    return 0;
}
