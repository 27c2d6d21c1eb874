#include "FuzzedProcessor.h"

#include "processor/ProductDataFolder.h"
#include "processor/params/ParamValueConverter.h"

// A settings file as another version, a user or a damaged disk may leave it.
// Generation 1: a fresh instance reads it; the editor and the settings dialog write their
// settings into it, and it saves. Generation 2: another fresh instance reads that file to the
// same settings and saves the same bytes. What the editor reads from it is read without harm.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto file = productDataFolder().getChildFile ("settings.xml");
    file.getParentDirectory().createDirectory();
    file.replaceWithData (data, size);

    const auto first = freshProcessor();
    auto& settings = first->settings;
    const auto scale = ParamValueConverter::readValue (settings.value (Settings::scale).toString());
    settings.setValue (Settings::scale, std::isfinite (scale) ? scale * 1.000000123456789 : 2.0);
    for (const auto& key :
         { Settings::ignorePresetInactiveModes, Settings::ignorePresetSpreadParam, Settings::ignorePresetVolumeParam })
        settings.setOption (key, false);

    if (! first->saveSettings())
        std::abort();

    juce::MemoryBlock written;
    file.loadFileAsData (written);

    const auto second = freshProcessor();

    if (second->settings.tree().toXmlString() != settings.tree().toXmlString() || ! second->saveSettings())
        std::abort();

    juce::MemoryBlock writtenAgain;
    file.loadFileAsData (writtenAgain);
    requireSameBytes (written, writtenAgain);
    return 0;
}
