#include "FuzzedProcessor.h"

#include "editor/ModeClipboardText.h"
#include "processor/params/ControlTable.h"

#include <vector>

// Clipboard text pasted into a mode. The first byte picks the mode and the way the system
// clipboard builds the text from its bytes (as UTF-8, which keeps damaged sequences as they
// are, or byte by byte as Latin-1 letters); the rest is the clipboard. A paste keeps every
// parameter in range, and a mode's own text pasted back into it, with the line end that text
// picks up in chat or mail, changes nothing.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;

    auto& processor = fuzzedProcessor();
    const juce::String mode (ControlTable::modes[(size_t) (data[0] & 3)].name);

    // The clipboard's bytes always end in a zero, which the text functions rely on.
    std::vector<char> bytes (data + 1, data + size);
    bytes.push_back (0);
    const auto numBytes = bytes.size() - 1;
    const auto text = (data[0] & 4) != 0 ? juce::String::fromUTF8 (bytes.data(), (int) numBytes)
                                         : juce::String (bytes.data(), numBytes);

    ModeClipboardText::paste (processor.parameters, mode, text);
    requireParametersInRange (processor);

    const auto pasted = parameterValues (processor);
    ModeClipboardText::paste (processor.parameters, mode,
                              ModeClipboardText::copy (processor.parameters, mode) + "\r\n");
    requireSameValues (pasted, parameterValues (processor));
    return 0;
}
