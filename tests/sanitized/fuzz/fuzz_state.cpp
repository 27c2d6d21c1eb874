#include "FuzzedProcessor.h"

#include "processor/state/StateXml.h"

namespace
{
/** Generation 1: the data restored into a fresh instance, which keeps every parameter in range
    and saves. Generation 2: that save restored into another fresh instance, which takes it,
    holds the same values and saves the same bytes. A refused restore leaves the first instance
    at its defaults, which must come back the same way. */
void restoreInTwoGenerations (const void* data, size_t size)
{
    const auto first = freshProcessor();
    first->setStateInformation (data, (int) size);
    requireParametersInRange (*first);

    juce::MemoryBlock saved;
    first->getStateInformation (saved);

    if (StateXml::fromBinary (saved.getData(), (int) saved.getSize()) == nullptr)
        std::abort();

    const auto second = freshProcessor();
    second->setStateInformation (saved.getData(), (int) saved.getSize());
    requireSameValues (parameterValues (*first), parameterValues (*second));

    juce::MemoryBlock savedAgain;
    second->getStateInformation (savedAgain);
    requireSameBytes (saved, savedAgain);
}
} // namespace

// The bytes go to the processor as a host would hand them back, and once more inside a
// well-formed envelope so that the search reaches the XML without first guessing a length.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    restoreInTwoGenerations (data, size);

    juce::MemoryOutputStream wrapped;
    wrapped.write ("VC2!", 4);
    wrapped.writeInt ((int) size);
    wrapped.write (data, size);
    wrapped.writeByte (0);
    restoreInTwoGenerations (wrapped.getData(), wrapped.getDataSize());

    return 0;
}
