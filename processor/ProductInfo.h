#pragma once

#include <string_view>

/** The names the product goes by: hosts show the product's, presets carry it, and the data folder
    and the guide are named after both. The build declares each once and hands it to the code as
    the framework's plug-in definitions; everything else is derived here. */
namespace ProductInfo
{
inline constexpr const char* name = JucePlugin_Name;
inline constexpr const char* maker = JucePlugin_Manufacturer;
inline constexpr const char* webSite = JucePlugin_ManufacturerWebsite;
inline constexpr const char* version = JucePlugin_VersionString;

inline constexpr const char* userGuideFileName = JucePlugin_Name " User Guide.pdf";

/** The web site as people write it: its host, without the scheme, a leading "www." or a path. */
constexpr std::string_view webSiteHost()
{
    std::string_view host = webSite;
    if (const auto scheme = host.find ("://"); scheme != std::string_view::npos)
        host.remove_prefix (scheme + 3);
    if (host.substr (0, 4) == "www.")
        host.remove_prefix (4);
    return host.substr (0, host.find_first_of ("/:?#"));
}
} // namespace ProductInfo
