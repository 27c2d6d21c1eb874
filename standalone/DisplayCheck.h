#pragma once

/** Whether the Standalone can open its X display. The framework's Standalone crashes while it
    opens its window when it cannot, so the Standalone and the run command ask first. */
namespace DisplayCheck
{
/** Whether DISPLAY names a display: set and not empty. Without it the Standalone does not start,
    as the run command does not start it, rather than guess at a display. */
bool displaySet();

/** The display DISPLAY names, or "" when displaySet() is false. */
const char* displayName();

/** False when DISPLAY names no display, no X server answers there, or the server refuses this
    program. */
bool displayOpens();
} // namespace DisplayCheck
