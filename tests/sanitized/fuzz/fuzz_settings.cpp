#include "FuzzedProcessor.h"

#include "processor/params/ParamValueConverter.h"
#include "support/ProcessorTestAccess.h"

// A settings file as another version, a user or a damaged disk may leave it. Whatever loads,
// once the editor and the settings dialog have written their settings into it, saves and loads
// back the same; what the editor reads from it is read without harm.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    auto& processor = fuzzedProcessor();
    const auto file = juce::File (processor.dataFolder).getChildFile ("settings.xml");
    file.replaceWithData (data, size);
    ProcessorTestAccess::loadSettings (processor);

    auto& settings = processor.settings;
    const auto scale = ParamValueConverter::readValue (settings.value (Settings::scale).toString());
    settings.setValue (Settings::scale, std::isfinite (scale) ? scale * 1.000000123456789 : 2.0);
    for (const auto& key :
         { Settings::ignorePresetInactiveModes, Settings::ignorePresetSpreadParam, Settings::ignorePresetVolumeParam })
        settings.setOption (key, false);

    const auto expected = settings.tree().createXml()->toString();

    if (! processor.saveSettings())
        std::abort();

    ProcessorTestAccess::loadSettings (processor);

    if (settings.tree().createXml()->toString() != expected)
        std::abort();

    return 0;
}
