#include "ProcessorFixture.h"

#include "processor/state/StateXml.h"

namespace
{
juce::String stateText (const juce::String& params, const juce::String& root = "PARAMETERS")
{
    return "<?xml version=\"1.0\"?><" + root + " presetName=\"Warm\" presetPath=\"Warm.qexp\">" + params + "</" + root
           + ">";
}

juce::MemoryBlock state (const juce::String& params, const juce::String& root = "PARAMETERS")
{
    return envelope (stateText (params, root));
}

class HostState : public ProcessorFixture
{
protected:
    void restore (const juce::MemoryBlock& data) { restoreState (processor, data); }
    juce::MemoryBlock save() { return stateOf (processor); }

    juce::String savedValue (const char* id)
    {
        const auto data = save();
        const auto xml = juce::AudioProcessor::getXmlFromBinary (data.getData(), (int) data.getSize());
        const auto* element = xml->getChildByAttribute ("id", id);
        return element == nullptr ? "(none)" : element->getStringAttribute ("value", "(no value)");
    }
};
} // namespace

TEST_F (HostState, savingAndRestoringBringsBackEveryParameterTheNameAndThePath)
{
    setEveryParameterAwayFromDefault();
    processor.parameters.state.setProperty (QexTidewellAudioProcessor::presetDataName, "Warm", nullptr);
    processor.parameters.state.setProperty (QexTidewellAudioProcessor::presetDataPath, "Warm.qexp", nullptr);
    const auto saved = save();
    EXPECT_EQ (saved, save()) << "saving twice gives the same bytes";

    QexTidewellAudioProcessor restored;
    restoreState (restored, saved);
    for (const auto& [id, expected] : allValues())
        EXPECT_EQ (restored.parameters.getRawParameterValue (id)->load(), expected) << id;
    EXPECT_EQ (restored.parameters.state[QexTidewellAudioProcessor::presetDataName].toString(), "Warm");
    EXPECT_EQ (restored.parameters.state[QexTidewellAudioProcessor::presetDataPath].toString(), "Warm.qexp");
    EXPECT_EQ (stateOf (restored), saved);
}

TEST_F (HostState, aRestoreTakesTheRootInAnyCaseAndKeepsWhatTheStateLacks)
{
    set ("paramSpread", 150.0f);
    restore (state (paramElement ("paramGain", "-6.0"), "parameters"));
    EXPECT_EQ (value ("paramGain"), -6.0f);
    EXPECT_EQ (presetName(), "Warm");
    EXPECT_EQ (value ("paramSpread"), 150.0f);
    EXPECT_EQ (savedValue ("paramSpread"), "150.0") << "the next save holds the kept value";

    restore (state (paramElement ("paramGain", "-3.0"), "settings"));
    EXPECT_EQ (value ("paramGain"), -6.0f);

    restore (state ("<PARAM id=\"paramSpread\"/>"));
    EXPECT_EQ (value ("paramSpread"), 100.0f) << "an element without a value means the default";

    restore (envelope ("<PARAMETERS/>"));
    EXPECT_FALSE (processor.parameters.state.hasProperty (QexTidewellAudioProcessor::presetDataName));

    EXPECT_EQ (messages.received().size(), 4) << "every restore is reported";
}

TEST_F (HostState, damagedHostDataChangesNothingButIsStillReported)
{
    set ("paramSpread", 150.0f);
    const auto before = allValues();
    const auto goodText = stateText (paramElement ("paramSpread", "20.0"));
    const auto good = envelope (goodText);

    auto wrongMagic = good, textFromZero = good, brokenUtf8AtTheEnd = good;
    wrongMagic[0] = 'X';
    textFromZero[8] = 0;
    brokenUtf8AtTheEnd[brokenUtf8AtTheEnd.getSize() - 2] = (char) 0xff;

    juce::MemoryBlock random (300);
    juce::Random rng (1);
    for (auto& byte : random)
        byte = (char) rng.nextInt (256);

    const juce::MemoryBlock damaged[] {
        {},
        juce::MemoryBlock ("VC2!\x10\0\0\0", 8),
        wrongMagic,
        textFromZero,
        brokenUtf8AtTheEnd,
        random,
        envelope (goodText, 0),
        envelope (goodText, -5),
        envelope ("this is not XML"),
        envelope ("<PARAMETERS><PARAM id=\"paramSpread\" value=\"20.0\">"),
        envelope ("<PARAMETERS><?instruction?>text" + paramElement ("paramSpread", "20.0") + "</PARAMETERS>"),
        // The tree would reserve 2 GB for this attribute's binary data.
        state (paramElement ("paramSpread", "20.0") + "<PARAM id=\"x\" base64:data=\"2000000000.\"/>"),
    };

    for (const auto& data : damaged)
        restore (data);
    processor.setStateInformation (nullptr, 100);

    EXPECT_EQ (allValues(), before);
    EXPECT_EQ (presetName(), "Init");
    EXPECT_EQ (messages.received().size(), (int) std::size (damaged) + 1);

    restore (envelope (goodText, 1 << 20));
    EXPECT_EQ (value ("paramSpread"), 20.0f) << "a length beyond the data is cut to the data";
}

TEST_F (HostState, hostileValuesStayInsideEveryParameterRange)
{
    set ("paramSpread", 150.0f);
    set ("paramGain", 3.0f);

    restore (state (paramElement ("paramSpread", "nan") + paramElement ("paramGain", "-NaN")
                    + paramElement ("paramSixtyWet", "500") + paramElement ("paramSixtyRate", "fast")
                    + paramElement ("paramSixtyHighpass", "1e999") + paramElement ("paramStudioWet", "-1e999")
                    + paramElement ("paramQuadDelay", "1e4294967297") + paramElement ("paramNoSuchThing", "1.0")
                    + paramElement ("paramQuadWet", "10.0") + paramElement ("paramQuadWet", "20.0")));

    EXPECT_EQ (value ("paramSpread"), 150.0f) << "NaN keeps the current value";
    EXPECT_EQ (value ("paramGain"), 3.0f);
    EXPECT_EQ (value ("paramSixtyWet"), 100.0f);
    EXPECT_EQ (value ("paramSixtyRate"), 0.1f) << "text that is no number reads as 0";
    EXPECT_EQ (value ("paramSixtyHighpass"), 10000.0f);
    EXPECT_EQ (value ("paramStudioWet"), 0.0f);
    EXPECT_EQ (value ("paramQuadDelay"), 20.0f) << "an exponent past the int range is still huge";
    EXPECT_EQ (value ("paramQuadWet"), 20.0f) << "the last of duplicated elements wins";
    EXPECT_EQ (savedValue ("paramNoSuchThing"), "1.0") << "unknown elements are kept";

    for (const auto& [id, v] : allValues())
    {
        const auto& range = processor.parameters.getParameter (id)->getNormalisableRange();
        EXPECT_TRUE (v >= range.start && v <= range.end) << id << " " << v;
    }
}

TEST_F (HostState, whatARestoreAcceptsSavesAndRestoresInAFreshInstanceEvenAtTheReadersLimits)
{
    // A state of this plug-in grown to the limits: as many elements as the reader takes, most
    // of them unknown and kept, and the longest name a restore still accepts.
    set ("paramGain", -6.0f);
    const auto own = save();
    auto text = juce::String::fromUTF8 ((const char*) own.getData() + 8, (int) own.getSize() - 9);
    const auto unknown = "<x a=\"" + juce::String::repeatedString ("y", 100) + "\"/>";
    text = text.replace ("</PARAMETERS>",
                         juce::String::repeatedString (unknown, StateXml::maxElements - 33) + "</PARAMETERS>");
    const auto grown = [&text] (int nameBytes)
    {
        return envelope (text.replace ("presetName=\"Init\"",
                                       "presetName=\"" + juce::String::repeatedString ("w", nameBytes) + "\""));
    };
    const auto largest = largestAccepted (0, StateXml::maxTextBytes,
                                          [&] (int nameBytes)
                                          {
                                              restore (grown (nameBytes));
                                              return presetName().length() == nameBytes;
                                          });
    const auto atLimit = grown (largest);
    EXPECT_GE ((int) atLimit.getSize() - 9, StateXml::maxTextBytes - 32 * StateXml::maxValueBytes)
        << "room is kept only for values to be written in their longest form";

    // However far the values then move, the state the plug-in saves restores in a fresh instance.
    set ("paramGain", 3.0f);
    restore (atLimit);
    EXPECT_EQ (value ("paramGain"), -6.0f);
    setEveryParameterAwayFromDefault();
    const auto saved = save();
    QexTidewellAudioProcessor restored;
    restoreState (restored, saved);
    EXPECT_EQ (restored.parameters.state[QexTidewellAudioProcessor::presetDataName].toString().length(), largest);
    EXPECT_EQ (stateOf (restored), saved);

    // Short text that the tree writes at four times its length is refused all the same.
    set ("paramGain", 3.0f);
    restore (envelope (stateText (paramElement ("paramGain", "-6.0"))
                           .replace ("Warm.qexp", juce::String::repeatedString (">", 20000))));
    EXPECT_EQ (value ("paramGain"), 3.0f);
}

TEST_F (HostState, aFreshInstanceWhoseDataFolderIsTooLongToKeepStillSavesAStateThatRestores)
{
    // Each quote is written as "&quot;": six bytes of the state per byte of the path.
    const ScopedEnvironmentVariable longHome (
        "XDG_DATA_HOME", dataHome.root().getChildFile (juce::String::repeatedString ("\"", 12000)).getFullPathName());
    QexTidewellAudioProcessor farAway;
    EXPECT_EQ (farAway.parameters.state[QexTidewellAudioProcessor::presetDataName].toString(), "Init");

    restore (stateOf (farAway));
    EXPECT_EQ (presetPath(), "") << "the path that does not fit is left out";
}

TEST_F (HostState, textThatCannotBeReadTheSameTwiceIsRefusedAndWhatIsTakenReadsBackTheSameInAFreshInstance)
{
    const auto quadAtMinusSix = paramElement ("paramChorusMode", "3.0") + paramElement ("paramGain", "-6.0");
    const auto withRoot = [&quadAtMinusSix] (const char* rootAttributes, const char* extra)
    {
        return envelope ("<?xml version=\"1.0\"?><PARAMETERS " + textOfBytes (rootAttributes) + ">" + quadAtMinusSix
                         + textOfBytes (extra) + "</PARAMETERS>");
    };

    const std::tuple<const char*, juce::MemoryBlock, bool> cases[] {
        { "an over-long e in a name", withRoot ("presetName=\"Warm\"", "<F\xc1\xa5G/>"), false },
        { "an over-long letter in a value", withRoot ("presetName=\"W\xc1\xa1rm\"", ""), false },
        { "an over-long e spelled in four bytes", withRoot ("presetName=\"Warm\"", "<x a=\"\xf0\x80\x81\xa5\"/>"),
          false },
        { "a surrogate", withRoot ("presetName=\"\xed\xa0\x80\"", ""), false },
        { "a code point past U+10FFFF", withRoot ("presetName=\"\xf4\x90\x80\x80\"", ""), false },
        { "a cut sequence", withRoot ("presetName=\"\xe9\x9f\"", ""), false },
        { "a letter outside ASCII in a name", withRoot ("presetName=\"Warm\"", "<F\xc3\xa9/>"), false },
        { "letters outside ASCII in values",
          withRoot ("presetName=\"W\xc3\xa4rme \xe9\x9f\xb3\"", "<x note=\"\xf0\x9f\x8e\xb5\"/>"), true },
    };

    // The parser's answer for letters outside ASCII in names depends on the host's locale.
    for (const auto* locale : { "C", "C.UTF-8" })
    {
        const ScopedLocale hostLocale (locale);
        if (! hostLocale.isSet)
            continue;

        for (const auto& [what, data, taken] : cases)
        {
            SCOPED_TRACE (juce::String (what) + " under the locale " + locale);
            QexTidewellAudioProcessor first;
            setParameter (first, "paramSpread", 150.0f);
            restoreState (first, data);
            EXPECT_EQ (first.parameters.getRawParameterValue ("paramChorusMode")->load(), taken ? 3.0f : 0.0f);
            EXPECT_EQ (first.parameters.getRawParameterValue ("paramGain")->load(), taken ? -6.0f : 0.0f);
            if (taken)
            {
                EXPECT_EQ (first.parameters.state[QexTidewellAudioProcessor::presetDataName].toString(),
                           textOfBytes ("W\xc3\xa4rme \xe9\x9f\xb3"));
            }

            const auto saved = stateOf (first);
            QexTidewellAudioProcessor second;
            restoreState (second, saved);
            EXPECT_EQ (parameterValues (second), parameterValues (first));
            EXPECT_EQ (second.parameters.state[QexTidewellAudioProcessor::presetDataName].toString(),
                       first.parameters.state[QexTidewellAudioProcessor::presetDataName].toString());
            EXPECT_EQ (stateOf (second), saved);
        }
    }
}

TEST_F (HostState, anExponentInAnySpellingReadsAsTheHugeOrTinyNumberItIsAndIsSavedAgainTheSame)
{
    // A character reference to a code point past Unicode is stored as an over-long "e", which the
    // text check cannot see and the number reader decodes.
    const auto disguised = state (paramElement ("paramGain", "3444444444&#x40000065;111112205541844e1+r")
                                  + paramElement ("paramSpread", "5&#x40000045;-99999999999")
                                  + paramElement ("paramQuadDelay", "1e400000"));

    restore (disguised);
    EXPECT_EQ (value ("paramGain"), 12.0f);
    EXPECT_EQ (value ("paramSpread"), 0.0f);
    EXPECT_EQ (value ("paramQuadDelay"), 20.0f) << "an exponent the reader's int holds is left alone";

    const auto saved = save();
    QexTidewellAudioProcessor second;
    restoreState (second, saved);
    EXPECT_EQ (parameterValues (second), allValues());
    EXPECT_EQ (stateOf (second), saved);
}
