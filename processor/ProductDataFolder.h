#pragma once

#include <juce_core/juce_core.h>

/** The folder that holds the presets, the settings file and the user guide.

    On macOS it lies in the machine-wide "/Library/Application Support". On Linux that
    folder does not exist and the machine-wide data folder is not writable for users, so
    the user's data folder ($XDG_DATA_HOME, by default ~/.local/share) stands in for it.
*/
juce::File productDataFolder();
