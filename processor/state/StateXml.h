#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** Reading XML that comes from outside (host state, preset files, the settings file) and
    putting parameter trees into the parameter tree.

    Everything read here may be damaged or hostile, so it is checked for what the
    framework's XML parser, value trees and parameters do not survive before they see it.
*/
class StateXml
{
public:
    /** Texts longer than this are not parsed: a state or preset is a few kilobytes. */
    static constexpr int maxTextBytes = 64 * 1024;

    /** Texts with more element tags than this are not parsed: a state has 33. */
    static constexpr int maxElements = 512;

    /** The most bytes a parameter's value takes in a saved state, with its attribute name,
        when the tree wrote it. */
    static constexpr int maxValueBytes = 48;

    /** Parses XML text; null when it does not parse, or holds what the framework's parser
        or value trees cannot be trusted with (see the .cpp), or is longer or has more
        elements than above. Of an element's repeated attributes only the first is kept. */
    static std::unique_ptr<juce::XmlElement> parse (const juce::String& text);

    /** Reads the envelope that juce::AudioProcessor::copyXmlToBinary writes and parses its
        text; null when the data is not such an envelope or its text is refused. */
    static std::unique_ptr<juce::XmlElement> fromBinary (const void* data, int sizeInBytes);

    /** Reads and parses a file; null for anything but a regular file (links are followed),
        a missing or unreadable file, a file longer than maxTextBytes, or text that is
        refused. The bytes are read as StrictUtf8::decodeFile reads them, so no
        file is refused for its encoding alone. It never opens a FIFO or a device, so it never
        waits. */
    static std::unique_ptr<juce::XmlElement> readFile (const juce::File& file);

    /** Whether the tree, written as XML in the given format, gives text that parse takes
        back, with room left for extraElements more elements and extraBytes more bytes. */
    static bool readsBack (const juce::ValueTree& tree, const juce::XmlElement::TextFormat& format, int extraElements,
                           int extraBytes);

    /** A value as the parameter tree writes it into its "value" property ("0.0", "3.0"). */
    static juce::String valueText (float value);

    /** The value of the parameter with this ID as the tree would write it now. */
    static juce::String currentValueText (juce::AudioProcessorValueTreeState& parameters, const juce::String& id);

    /** Whether the plug-in, holding state (which has an element for every parameter), saves a
        state that a restore takes back. Each parameter's value counts at least as long as the
        longest the tree writes, so the answer stays the same while the parameters move.
        Whatever changes the tree's state checks this first. */
    static bool restoresWhenSaved (const juce::AudioProcessorValueTreeState& parameters, const juce::ValueTree& state);

    /** Replaces the parameter tree's state with newState. Every parameter that newState has
        no element for keeps its current value, and gains an element holding it. A "value"
        that reads as NaN would put NaN into the parameter and from there into the audio, so
        such an element takes the parameter's current value instead; an exponent too long for
        the framework's number reader is shortened to one that means the same.
        False, with nothing changed, when the state the tree would then save could not be
        restored (restoresWhenSaved): whatever is taken in can be saved and restored. */
    static bool replaceParameters (juce::AudioProcessorValueTreeState& parameters, juce::ValueTree newState);
};
