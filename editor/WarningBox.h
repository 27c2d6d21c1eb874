#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Tells the user that something they asked for did not happen, in the plug-in's own alert
    box, without waiting for it to be closed. */
inline void showWarningBox (const juce::String& message)
{
    juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::NoIcon, "WARNING", message);
}
