#include "DisplayCheck.h"

#include <X11/Xlib.h>
#include <cstdlib>

bool DisplayCheck::displaySet() { return *displayName() != '\0'; }

const char* DisplayCheck::displayName()
{
    const char* name = std::getenv ("DISPLAY");
    return name != nullptr ? name : "";
}

bool DisplayCheck::displayOpens()
{
    if (! displaySet())
        return false;

    // Two tries, as the framework makes: on some systems the first one fails now and then.
    for (int attempt = 0; attempt < 2; ++attempt)
        if (auto* display = XOpenDisplay (displayName()))
        {
            XCloseDisplay (display);
            return true;
        }
    return false;
}
