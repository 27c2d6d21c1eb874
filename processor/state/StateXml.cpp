#include "StateXml.h"

#include "StrictUtf8.h"
#include "processor/params/ParamValueConverter.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <map>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

/** Whether a byte outside ASCII stands in markup: in a name, in the space inside a tag, or
    before the first element. The parser tells letters and spaces there with the C library,
    whose answer for other characters depends on the locale the host runs in: <Fé/> reads
    under one and is an error under the "C" locale. What the tree takes from quoted values,
    text, comments, CDATA and instructions is the same under any locale. */
bool hasNonAsciiMarkup (const char* text)
{
    const auto skipPast = [] (const char* from, const char* end)
    {
        const auto* found = std::strstr (from, end);
        return found != nullptr ? found + std::strlen (end) - 1 : from + std::strlen (from) - 1;
    };

    auto inTag = false, seenElement = false;
    char quote = 0;

    for (const auto* c = text; *c != 0; ++c)
    {
        const auto isAscii = static_cast<unsigned char> (*c) < 0x80;

        if (quote != 0)
        {
            if (*c == quote)
                quote = 0;
        }
        else if (inTag)
        {
            if (! isAscii)
                return true;

            if (*c == '"' || *c == '\'')
                quote = *c;
            else if (*c == '>')
                inTag = false;
        }
        else if (std::strncmp (c, "<!--", 4) == 0)
            c = skipPast (c + 4, "-->");
        else if (std::strncmp (c, "<![CDATA[", 9) == 0)
            c = skipPast (c + 9, "]]>");
        else if (std::strncmp (c, "<?", 2) == 0)
            c = skipPast (c + 2, "?>");
        else if (*c == '<')
            inTag = seenElement = true;
        else if (! isAscii && ! seenElement)
            return true;
    }

    return false;
}

/** Refuses what the framework's XML parser does not survive, and text longer or with more
    elements than given. A state, preset or settings file never holds any of it. */
bool isSafeToParse (const juce::String& text, size_t maxBytes, int maxElements)
{
    const auto* utf8 = text.toRawUTF8();

    // Counted as bytes: the framework's count decodes the text, and a damaged byte can end
    // that count early.
    const auto numBytes = std::strlen (utf8);

    // Beyond a preset's size the parser's cost grows faster than the text on some inputs.
    if (numBytes > maxBytes)
        return false;

    // It decodes an over-long form as the character it spells, which the checks below, done on
    // bytes, would miss, and it loses a byte of a name holding one at each reading.
    if (! StrictUtf8::isValid (text))
        return false;

    // What it reads, it must read the same in whatever locale the next host runs.
    if (hasNonAsciiMarkup (utf8))
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
    return countElementTags (utf8) <= maxElements;
}

/** The tree reads an attribute whose name starts with "base64:" as binary data, and takes the
    size to reserve for it from the text without a bound: "2000000000." asks for 2 GB. The
    plug-in never writes binary data. */
bool hasBinaryAttribute (const juce::XmlElement& element)
{
    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (element.getAttributeName (i).startsWith ("base64:"))
            return true;

    for (auto* child : element.getChildIterator())
        if (hasBinaryAttribute (*child))
            return true;

    return false;
}

/** Opens a file for reading without waiting, or gives -1. Closes it when it goes. */
struct OpenFile
{
    explicit OpenFile (const char* path) : descriptor (::open (path, O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~OpenFile()
    {
        if (descriptor >= 0)
            ::close (descriptor);
    }

    const int descriptor;

    JUCE_DECLARE_NON_COPYABLE (OpenFile)
};

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

/** The bytes an element's value attribute takes in the state's text, escaped as written. */
int valueAttributeBytes (const juce::ValueTree& element)
{
    if (! element.hasProperty (valueProperty))
        return 0;

    juce::XmlElement alone ("a");
    alone.setAttribute (valueProperty, element[valueProperty].toString());

    const auto written = alone.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    return (int) written.getNumBytesAsUTF8() - (int) std::strlen ("<a/>");
}
} // namespace

std::unique_ptr<juce::XmlElement> StateXml::parse (const juce::String& text)
{
    if (! isSafeToParse (text, (size_t) maxTextBytes, maxElements))
        return {};

    auto xml = juce::parseXML (text);

    if (xml == nullptr || hasBinaryAttribute (*xml))
        return {};

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
    const auto path = file.getFullPathName();

    // Regular files only, with links followed: opening a FIFO waits for a writer, and a
    // device such as /dev/zero never ends. The size is checked before anything is read.
    struct stat status;
    if (path.isEmpty() || ::stat (path.toRawUTF8(), &status) != 0 || ! S_ISREG (status.st_mode)
        || status.st_size > maxTextBytes)
        return {};

    // The path may have been replaced since; what was opened is checked again.
    const OpenFile in (path.toRawUTF8());
    if (in.descriptor < 0 || ::fstat (in.descriptor, &status) != 0 || ! S_ISREG (status.st_mode))
        return {};

    // Read no further than needed to know that a file that grew meanwhile is too long.
    juce::MemoryBlock bytes ((size_t) maxTextBytes + 1);
    size_t numRead = 0;

    while (numRead < bytes.getSize())
    {
        const auto result =
            ::read (in.descriptor, static_cast<char*> (bytes.getData()) + numRead, bytes.getSize() - numRead);
        if (result < 0 && errno == EINTR)
            continue;
        if (result < 0)
            return {};
        if (result == 0)
            break;
        numRead += (size_t) result;
    }

    if (numRead > (size_t) maxTextBytes)
        return {};

    return parse (StrictUtf8::decodeFile (static_cast<const char*> (bytes.getData()), numRead));
}

bool StateXml::readsBack (const juce::ValueTree& tree, const juce::XmlElement::TextFormat& format, int extraElements,
                          int extraBytes)
{
    const auto xml = tree.createXml();

    return xml != nullptr
           && isSafeToParse (xml->toString (format), (size_t) (maxTextBytes - extraBytes), maxElements - extraElements);
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

bool StateXml::restoresWhenSaved (const juce::AudioProcessorValueTreeState& parameters, const juce::ValueTree& state)
{
    // The tree writes a parameter's value into the last element with its ID, in its own form,
    // which may take more bytes than the text it read. Counting every such value at no less
    // than the longest form makes the answer the same for the state saved from this one, so
    // a restored state restores again however its values move; a longer text counts as it is.
    std::map<juce::String, juce::ValueTree> written;

    for (const auto& child : state)
        if (const auto id = child[idProperty].toString(); parameters.getParameter (id) != nullptr)
            written[id] = child;

    auto room = 0;
    for (const auto& [id, element] : written)
        room += juce::jmax (0, maxValueBytes - valueAttributeBytes (element));

    return readsBack (state, juce::XmlElement::TextFormat().singleLine(), 0, room);
}

bool StateXml::replaceParameters (juce::AudioProcessorValueTreeState& parameters, juce::ValueTree newState)
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

    if (! restoresWhenSaved (parameters, newState))
        return false;

    parameters.replaceState (newState);
    return true;
}
