#pragma once

#include <juce_core/juce_core.h>

/** Hands documents, folders and web pages to the desktop's own applications. What is opened
    is never run as a program, whatever its name, path or permission bits, and nothing waits
    for the application.

    On Linux the desktop's opener, xdg-open as found on PATH, is started with the path or
    address as its one argument and no shell in between; it runs detached, so it leaves no
    process behind for the plug-in to collect. Elsewhere the framework's own calls open them. */
class DesktopOpener
{
public:
    static void openDocument (const juce::File& document);
    static void showFolder (const juce::File& folder);
    static void openWebPage (const juce::URL& address);
};
