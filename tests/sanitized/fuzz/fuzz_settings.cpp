#include "FuzzedProcessor.h"

#include "processor/ParamValueConverter.h"
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

    auto& settings = processor.settingsTree;
    const auto scale = ParamValueConverter::readValue (settings.getChildWithName ("scale")["value"].toString());
    settings.getOrCreateChildWithName ("scale", nullptr)
        .setProperty ("value", std::isfinite (scale) ? scale * 1.000000123456789 : 2.0, nullptr);
    for (const auto* key : { "ignorePresetInactiveModes", "ignorePresetSpreadParam", "ignorePresetVolumeParam" })
        settings.getOrCreateChildWithName (key, nullptr).setProperty ("value", "false", nullptr);

    const auto expected = settings.createXml()->toString();

    if (! processor.saveSettings())
        std::abort();

    ProcessorTestAccess::loadSettings (processor);

    if (settings.createXml()->toString() != expected)
        std::abort();

    return 0;
}
