#pragma once

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
} // namespace ProductInfo
