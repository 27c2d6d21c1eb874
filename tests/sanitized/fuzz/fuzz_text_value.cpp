#include "FuzzedProcessor.h"

#include "processor/params/ParamValueConverter.h"

// Text typed into a host's value field, handed to each of the 32 parameters; the editor's value
// fields hand what is typed to the same readers. Whatever the text, the value it gives lies in
// the range, and setting it keeps every parameter there.
extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    auto& processor = fuzzedProcessor();
    const auto text = textFrom (data, size);

    if (const auto number = ParamValueConverter::readNumber (text); number.has_value() && std::isnan (*number))
        std::abort();

    for (auto* parameter : processor.getParameters())
    {
        const auto normalised = parameter->getValueForText (text);

        if (! (normalised >= 0.0f && normalised <= 1.0f))
            std::abort();

        parameter->setValueNotifyingHost (normalised);
    }

    requireParametersInRange (processor);
    return 0;
}
