#pragma once

/** Whether the Standalone can open its X display. The framework's Standalone crashes while it
    opens its window when it cannot, so the Standalone and the run command ask first. */
namespace DisplayCheck
{
/** The display the framework opens: DISPLAY, or ":0.0" when DISPLAY is unset or empty. */
const char* displayName();

/** False when no X server answers at displayName() or the server refuses this program. */
bool displayOpens();
} // namespace DisplayCheck
