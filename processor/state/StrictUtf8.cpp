#include "StrictUtf8.h"

bool StrictUtf8::isValid (const juce::String& text)
{
    for (const auto* byte = reinterpret_cast<const unsigned char*> (text.toRawUTF8()); *byte != 0;)
    {
        const auto lead = *byte++;
        if (lead < 0x80)
            continue;

        // The range of the first continuation byte excludes over-long forms, surrogates and
        // code points past U+10FFFF.
        int numContinuations = 0;
        unsigned char low = 0x80, high = 0xbf;

        if (lead >= 0xc2 && lead <= 0xdf)
            numContinuations = 1;
        else if (lead >= 0xe0 && lead <= 0xef)
        {
            numContinuations = 2;
            low = lead == 0xe0 ? 0xa0 : 0x80;
            high = lead == 0xed ? 0x9f : 0xbf;
        }
        else if (lead >= 0xf0 && lead <= 0xf4)
        {
            numContinuations = 3;
            low = lead == 0xf0 ? 0x90 : 0x80;
            high = lead == 0xf4 ? 0x8f : 0xbf;
        }
        else
            return false;

        for (int i = 0; i < numContinuations; ++i)
        {
            // The terminating zero is no continuation byte, so the check ends at the text's end.
            if (*byte < low || *byte > high)
                return false;

            ++byte;
            low = 0x80;
            high = 0xbf;
        }
    }

    return true;
}
