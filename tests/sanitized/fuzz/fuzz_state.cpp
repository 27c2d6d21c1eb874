#include "FuzzedProcessor.h"

#include "processor/state/StateXml.h"

namespace
{
/** Restores data, then checks what any restore must leave behind: every parameter in range,
    and a state that is read back and, restored, brings back the same values. */
void restoreAndCheck (const void* data, size_t size)
{
    auto& processor = fuzzedProcessor();

    processor.setStateInformation (data, (int) size);
    requireParametersInRange (processor);

    const auto restored = parameterValues (processor);
    juce::MemoryBlock saved;
    processor.getStateInformation (saved);

    // Refused, it would restore nothing; in this same instance that would go unnoticed.
    if (StateXml::fromBinary (saved.getData(), (int) saved.getSize()) == nullptr)
        std::abort();

    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    requireSameValues (restored, parameterValues (processor));
}
} // namespace

// The bytes go to the processor as a host would hand them back, and once more inside a
// well-formed envelope so that the search reaches the XML without first guessing a length.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    restoreAndCheck (data, size);

    juce::MemoryOutputStream wrapped;
    wrapped.write ("VC2!", 4);
    wrapped.writeInt ((int) size);
    wrapped.write (data, size);
    wrapped.writeByte (0);
    restoreAndCheck (wrapped.getData(), wrapped.getDataSize());

    return 0;
}
