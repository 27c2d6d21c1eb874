#include "DisplayCheck.h"

#include <X11/Xlib.h>
#include <cstdlib>

const char* DisplayCheck::displayName()
{
    const char* name = std::getenv ("DISPLAY");
    return name != nullptr && *name != '\0' ? name : ":0.0";
}

bool DisplayCheck::displayOpens()
{
    // Two tries, as the framework makes: on some systems the first one fails now and then.
    for (int attempt = 0; attempt < 2; ++attempt)
        if (auto* display = XOpenDisplay (displayName()))
        {
            XCloseDisplay (display);
            return true;
        }
    return false;
}
