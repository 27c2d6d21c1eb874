#pragma once

/** The names the product goes by: hosts show the product's, presets carry it, and the data folder
    and the guide are named after both. */
namespace ProductInfo
{
inline constexpr const char* name = "QEX Tidewell";
inline constexpr const char* maker = "Vellomar";
} // namespace ProductInfo
