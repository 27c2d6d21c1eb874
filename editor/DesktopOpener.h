#pragma once

#include <juce_core/juce_core.h>

/** Hands documents, folders and web pages to the desktop's own applications, without waiting
    for them. Each call returns false when no program to open the item was found or it could not
    be started, so that the caller can tell the user; message thread only.

    On Linux the desktop's opener, xdg-open as found on PATH, is started directly with the path
    or address as its one argument: no shell reads it, and what is opened is never run as a
    program, whatever its name, path or permission bits. The opener starts in a session of its
    own, with every signal at its default and none blocked, and with none of the host's open
    files beyond standard input, output and error. The plug-in collects it once it ends, so none
    is left behind as a finished process.

    Elsewhere the framework's own calls hand the path or address to the system's service for
    opening files: no command line is built from it, but the system picks the application by the
    file's type, so a file that the system takes for a program is run. */
namespace DesktopOpener
{
bool openDocument (const juce::File& document);
bool showFolder (const juce::File& folder);
bool openWebPage (const juce::URL& address);
} // namespace DesktopOpener
