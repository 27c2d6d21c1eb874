#include "DisplayCheck.h"
#include "processor/ProductInfo.h"

#include <cstdio>
#include <juce_events/juce_events.h>

// Made by the framework's Standalone wrapper: the application stays the framework's own.
juce::JUCEApplicationBase* juce_CreateApplication();

int main (int argc, char* argv[])
{
    if (! DisplayCheck::displaySet())
    {
        std::fprintf (stderr,
                      "%s cannot open a display: DISPLAY is not set. Start it from a desktop session, or set "
                      "DISPLAY to the display of a running X server.\n",
                      ProductInfo::name);
        return 1;
    }

    if (! DisplayCheck::displayOpens())
    {
        std::fprintf (stderr,
                      "%s cannot open the display \"%s\": no X server answers there, or it refuses "
                      "the connection.\n",
                      ProductInfo::name, DisplayCheck::displayName());
        return 1;
    }

    juce::JUCEApplicationBase::createInstance = &juce_CreateApplication;
    return juce::JUCEApplicationBase::main (argc, const_cast<const char**> (argv));
}
