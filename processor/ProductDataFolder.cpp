#include "ProductDataFolder.h"

#include "ProductInfo.h"

juce::File productDataFolder()
{
#if JUCE_MAC
    const auto base = juce::File::getSpecialLocation (juce::File::commonApplicationDataDirectory)
                          .getChildFile ("Application Support");
#else
    const auto xdgDataHome = juce::SystemStats::getEnvironmentVariable ("XDG_DATA_HOME", {});

    // Relative values are invalid by the XDG rules and must be ignored.
    const auto base =
        juce::File::isAbsolutePath (xdgDataHome)
            ? juce::File (xdgDataHome)
            : juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".local/share");
#endif

    return base.getChildFile (ProductInfo::maker).getChildFile (ProductInfo::name);
}
