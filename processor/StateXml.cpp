#include "StateXml.h"

#include "ParamValueConverter.h"

#include <cstddef>
#include <cstring>
#include <set>

namespace
{
const juce::Identifier idProperty { "id" };
const juce::Identifier valueProperty { "value" };
const juce::Identifier paramType { "PARAM" };

/** Every element the parser builds, and every level it descends, starts at a '<' that is
    not followed by '/', '!' or '?'. Counting those bounds both, whatever the text holds in
    comments, quotes or entities. */
int countElementTags (const char* text)
{
    auto count = 0;

    for (auto* c = text; *c != 0; ++c)
        if (c[0] == '<' && c[1] != '/' && c[1] != '!' && c[1] != '?')
            ++count;

    return count;
}

/** Whether a processing instruction ("<?") follows the start of the first element. */
bool hasInstructionInsideRoot (const char* text)
{
    const auto* c = text;

    while (*c != 0 && ! (c[0] == '<' && c[1] != '?' && c[1] != '!'))
        ++c;

    return std::strstr (c, "<?") != nullptr;
}

/** Whether a hexadecimal character reference ("&#x") runs to the end of the text without
    a ';' after it. */
bool hasUnterminatedHexReference (const char* text)
{
    std::ptrdiff_t lastReference = -1, lastSemicolon = -1;

    for (std::ptrdiff_t i = 0; text[i] != 0; ++i)
    {
        if (text[i] == '&' && text[i + 1] == '#' && (text[i + 2] == 'x' || text[i + 2] == 'X'))
            lastReference = i;
        else if (text[i] == ';')
            lastSemicolon = i;
    }

    return lastReference > lastSemicolon;
}

/** Refuses what the framework's XML parser does not survive. A state or preset never holds
    any of it. */
bool isSafeToParse (const juce::String& text)
{
    const auto* utf8 = text.toRawUTF8();

    // Counted as bytes: the framework's count decodes the text, and a damaged byte can end
    // that count early.
    const auto numBytes = std::strlen (utf8);

    // Beyond a preset's size the parser's cost grows faster than the text on some inputs.
    if (numBytes > (size_t) StateXml::maxTextBytes)
        return false;

    // It steps over the tail bytes of a multi-byte character without looking at them, so a
    // damaged sequence at the end runs it past the end of the text.
    if (! juce::CharPointer_UTF8::isValidString (utf8, (int) numBytes))
        return false;

    // It expands entities of a document type declaration without limit, and recursively:
    // a few bytes exhaust the stack or the memory.
    if (text.contains ("<!DOCTYPE"))
        return false;

    // Inside an element it skips an instruction, then steps back before it to read the text
    // that follows, and never gets further.
    if (hasInstructionInsideRoot (utf8))
        return false;

    // After the digits of a hexadecimal reference it steps over one more character, which
    // at the end of the text is the terminating zero.
    if (hasUnterminatedHexReference (utf8))
        return false;

    // It recurses once per nesting level.
    return countElementTags (utf8) <= StateXml::maxElements;
}

/** The tree reads the first of an element's repeated attributes but writes them back with
    the value of the last, so a saved state would not restore what was read. Only the first
    is kept. */
void dropRepeatedAttributes (juce::XmlElement& element)
{
    const auto numAttributes = element.getNumAttributes();
    std::set<juce::String> seen;
    juce::StringArray names, values;

    for (int i = 0; i < numAttributes; ++i)
    {
        if (seen.insert (element.getAttributeName (i)).second)
        {
            names.add (element.getAttributeName (i));
            values.add (element.getAttributeValue (i));
        }
    }

    if (names.size() < numAttributes)
    {
        element.removeAllAttributes();

        for (int i = 0; i < names.size(); ++i)
            element.setAttribute (names[i], values[i]);
    }

    for (auto* child : element.getChildIterator())
        dropRepeatedAttributes (*child);
}
} // namespace

std::unique_ptr<juce::XmlElement> StateXml::parse (const juce::String& text)
{
    if (! isSafeToParse (text))
        return {};

    auto xml = juce::parseXML (text);

    if (xml != nullptr)
        dropRepeatedAttributes (*xml);

    return xml;
}

std::unique_ptr<juce::XmlElement> StateXml::fromBinary (const void* data, int sizeInBytes)
{
    // The envelope's magic number, "VC2!" read as a little-endian 32-bit number.
    constexpr juce::uint32 magic = 0x21324356;

    if (data == nullptr || sizeInBytes <= 8 || juce::ByteOrder::littleEndianInt (data) != magic)
        return {};

    const auto length = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

    if (length <= 0)
        return {};

    const auto* text = static_cast<const char*> (data) + 8;
    return parse (juce::String::fromUTF8 (text, juce::jmin (sizeInBytes - 8, length)));
}

std::unique_ptr<juce::XmlElement> StateXml::readFile (const juce::File& file)
{
    if (! file.existsAsFile())
        return {};

    juce::FileInputStream in (file);

    if (! in.openedOk())
        return {};

    // Read no more than needed to know the file is too long: the size a device or a growing
    // file reports cannot be trusted.
    juce::MemoryBlock bytes;
    in.readIntoMemoryBlock (bytes, maxTextBytes + 1);

    if (bytes.getSize() > (size_t) maxTextBytes)
        return {};

    // Decodes a byte order mark the same way the framework's own file parsing does.
    return parse (juce::String::createStringFromData (bytes.getData(), (int) bytes.getSize()));
}

juce::String StateXml::valueText (float value)
{
    // The tree stores a parameter's float as a var holding a double.
    return juce::var ((double) value).toString();
}

juce::String StateXml::currentValueText (juce::AudioProcessorValueTreeState& parameters, const juce::String& id)
{
    if (auto* value = parameters.getRawParameterValue (id))
        return valueText (value->load());

    return {};
}

void StateXml::replaceParameters (juce::AudioProcessorValueTreeState& parameters, juce::ValueTree newState)
{
    for (auto child : newState)
    {
        const auto id = child.getProperty (idProperty).toString();

        if (parameters.getParameter (id) == nullptr || ! child.getProperty (valueProperty).isString())
            continue;

        const auto text = child.getProperty (valueProperty).toString();

        if (! ParamValueConverter::readNumber (text).has_value())
            child.setProperty (valueProperty, currentValueText (parameters, id), nullptr);
        else if (const auto tamed = ParamValueConverter::withBoundedExponent (text); tamed != text)
            child.setProperty (valueProperty, tamed, nullptr);
    }

    // The framework gives a parameter without an element an empty one, and an element without
    // a value sets the default. An element holding the current value keeps the value, and
    // the next save holds it.
    for (auto* parameter : parameters.processor.getParameters())
    {
        if (const auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
        {
            if (! newState.getChildWithProperty (idProperty, withId->paramID).isValid())
                newState.appendChild (
                    juce::ValueTree (paramType)
                        .setProperty (idProperty, withId->paramID, nullptr)
                        .setProperty (valueProperty, currentValueText (parameters, withId->paramID), nullptr),
                    nullptr);
        }
    }

    parameters.replaceState (newState);
}
