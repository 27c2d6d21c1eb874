#include "ProcessorFixture.h"

#include "processor/state/StateXml.h"

#include <sys/stat.h>

namespace
{
class PresetFiles : public ProcessorFixture
{
protected:
    juce::File userFolder() { return juce::File (processor.userPresetFolder); }

    /** A preset file as a user might have edited it. */
    juce::File writeFile (const juce::String& fileName, const juce::String& params,
                          const juce::String& rootAttributes = "presetName=\"Edited\" pluginName=\"QEX Tidewell\"")
    {
        auto file = userFolder().getChildFile (fileName);
        file.replaceWithText ("<?xml version=\"1.0\"?>\r\n<PARAMETERS " + rootAttributes + ">" + params
                              + "</PARAMETERS>\r\n");
        return file;
    }

    bool load (const juce::File& file) { return processor.loadPreset (file.getFullPathName()); }

    void setOption (const char* key, const char* text) { processor.settings.setValue (key, text); }

    /** The 28 parameters that belong to one chorus mode. */
    juce::StringArray perModeIds()
    {
        juce::StringArray ids;
        for (const auto& [id, v] : allValues())
            if (! juce::StringArray { "paramChorusMode", "paramBypassGlobal", "paramSpread", "paramGain" }.contains (
                    id))
                ids.add (id);
        return ids;
    }

    /** Elements that select modeText and move every per-mode parameter to the top or the
        bottom of its range. */
    juce::String everyModeParameterAt (const char* modeText, const char* valueText)
    {
        auto params = paramElement ("paramChorusMode", modeText);
        for (const auto& id : perModeIds())
            params += paramElement (id.toRawUTF8(), valueText);
        return params;
    }
};
} // namespace

TEST_F (PresetFiles, aFreshInstanceMakesItsPresetFoldersAndStartsAtInitWithoutWritingAPreset)
{
    const auto presets = dataHome.productFolder().getChildFile ("Presets");
    EXPECT_EQ (processor.dataFolder, dataHome.productFolder().getFullPathName());
    EXPECT_EQ (processor.presetFolder, presets.getFullPathName());
    EXPECT_EQ (processor.userPresetFolder, presets.getChildFile ("User").getFullPathName());
    EXPECT_EQ (processor.factoryPresetFolder, presets.getChildFile ("Factory").getFullPathName());
    EXPECT_TRUE (presets.getChildFile ("User").isDirectory());
    EXPECT_TRUE (presets.getChildFile ("Factory").isDirectory());

    EXPECT_EQ (presetName(), "Init");
    EXPECT_EQ (presetPath(), presets.getChildFile ("Init.qexp").getFullPathName());
    EXPECT_FALSE (presets.getChildFile ("Init.qexp").exists());
    EXPECT_TRUE (messages.received().isEmpty());
}

TEST_F (PresetFiles, aSaveWritesTheNamedFileWithoutBypassAndNamesTheCurrentPreset)
{
    set ("paramBypassGlobal", 1.0f);
    set ("paramStudioWet", 77.0f); // not yet copied into the tree by its timer
    ASSERT_TRUE (processor.savePreset (userFolder().getChildFile ("Warm").getFullPathName()));

    const auto file = userFolder().getChildFile ("Warm.qexp");
    EXPECT_EQ (presetName(), "Warm");
    EXPECT_EQ (presetPath(), file.getFullPathName());
    EXPECT_EQ (messages.received(), juce::StringArray ({ "PresetSaved" }));

    const auto text = file.loadFileAsString();
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<PARAMETERS")) << text;
    const auto xml = juce::parseXML (text);
    EXPECT_EQ (xml->getStringAttribute ("presetName"), "Warm");
    EXPECT_EQ (xml->getStringAttribute ("pluginName"), "QEX Tidewell");
    EXPECT_FALSE (xml->hasAttribute ("presetPath"));
    EXPECT_EQ (xml->getChildByAttribute ("id", "paramBypassGlobal"), nullptr);
    EXPECT_EQ (xml->getNumChildElements(), 31);
    EXPECT_EQ (xml->getChildByAttribute ("id", "paramStudioWet")->getStringAttribute ("value"), "77.0");

    // The extension is compared in lower case only.
    ASSERT_TRUE (processor.savePreset (userFolder().getChildFile ("x.QEXP").getFullPathName()));
    EXPECT_TRUE (userFolder().getChildFile ("x.QEXP.qexp").existsAsFile());
    EXPECT_EQ (presetName(), "x.QEXP");
    ASSERT_TRUE (processor.savePreset (file.getFullPathName()));
    EXPECT_EQ (userFolder().getNumberOfChildFiles (juce::File::findFiles), 2);
}

TEST_F (PresetFiles, aCancelledOrFailedSaveKeepsTheCurrentPresetAndReportsNothing)
{
    EXPECT_FALSE (processor.savePreset ({}));
    EXPECT_FALSE (processor.savePreset (userFolder().getChildFile ("Gone").getChildFile ("Warm").getFullPathName()));

    // Writing goes through a temporary file renamed over the old one, which a read-only
    // preset must not be.
    const auto readOnly = userFolder().getChildFile ("Kept.qexp");
    readOnly.replaceWithText ("mine");
    readOnly.setReadOnly (true);
    EXPECT_FALSE (processor.savePreset (userFolder().getChildFile ("Kept").getFullPathName()));
    EXPECT_EQ (readOnly.loadFileAsString(), "mine");
    readOnly.setReadOnly (false);
    readOnly.deleteFile();

    // Renaming a temporary file over an empty folder would replace the folder.
    const auto folder = userFolder().getChildFile ("Folder.qexp");
    ASSERT_TRUE (folder.createDirectory());
    EXPECT_FALSE (processor.savePreset (userFolder().getChildFile ("Folder").getFullPathName()));
    EXPECT_TRUE (folder.isDirectory());
    folder.deleteFile();

    EXPECT_EQ (presetName(), "Init");
    EXPECT_TRUE (presetPath().endsWith ("Init.qexp"));
    EXPECT_EQ (userFolder().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
    EXPECT_TRUE (messages.received().isEmpty());
}

TEST_F (PresetFiles, aPresetLoadsWithTheNameInsideTheFileAndLeavesTheBypassAlone)
{
    setEveryParameterAwayFromDefault();
    set ("paramBypassGlobal", 0.0f);
    auto expected = allValues();
    ASSERT_TRUE (processor.savePreset (userFolder().getChildFile ("Wide").getFullPathName()));

    const auto renamed = userFolder().getChildFile ("Renamed on disk.qexp");
    ASSERT_TRUE (userFolder().getChildFile ("Wide.qexp").moveFileTo (renamed));
    for (auto* parameter : processor.getParameters())
        parameter->setValueNotifyingHost (parameter->getDefaultValue());
    set ("paramBypassGlobal", 1.0f);

    ASSERT_TRUE (load (renamed));
    expected["paramBypassGlobal"] = 1.0f;
    EXPECT_EQ (allValues(), expected);
    EXPECT_EQ (presetName(), "Wide");
    EXPECT_EQ (presetPath(), renamed.getFullPathName());
    EXPECT_EQ (messages.received(), juce::StringArray ({ "PresetSaved", "PresetLoaded" }));

    ASSERT_TRUE (load (writeFile ("Off.qexp", paramElement ("paramBypassGlobal", "0.0"))));
    EXPECT_EQ (value ("paramBypassGlobal"), 0.0f) << "a file that holds the bypass sets it";
}

TEST_F (PresetFiles, missingElementsKeepTheirValuesAndElementsWithoutValueTakeTheDefault)
{
    set ("paramSpread", 150.0f);
    set ("paramGain", 6.0f);
    ASSERT_TRUE (load (writeFile ("Sparse.qexp", "<PARAM id=\"paramGain\"/>" + paramElement ("paramSixtyWet", "nan"))));

    EXPECT_EQ (value ("paramSpread"), 150.0f);
    EXPECT_EQ (value ("paramGain"), 0.0f);
    EXPECT_EQ (value ("paramSixtyWet"), 50.0f) << "NaN keeps the current value";
}

TEST_F (PresetFiles, inactiveModesKeepTheirValuesOnlyWhenTheModeTextMatches)
{
    setOption ("ignorePresetInactiveModes", "true");
    ASSERT_TRUE (load (writeFile ("Ensemble.qexp", everyModeParameterAt ("2.0", "1e9"))));
    EXPECT_EQ (value ("paramChorusMode"), 2.0f);
    for (const auto& id : perModeIds())
    {
        const auto atTop = value (id) == processor.parameters.getParameter (id)->getNormalisableRange().end;
        EXPECT_EQ (atTop, id.startsWith ("paramEnsemble")) << id;
    }

    // Written without the decimal, the mode matches no group: every mode keeps its values.
    const auto before = allValues();
    set ("paramChorusMode", 0.0f);
    ASSERT_TRUE (load (writeFile ("Bare.qexp", everyModeParameterAt ("2", "-1e9"))));
    for (const auto& id : perModeIds())
        EXPECT_EQ (value (id), before.at (id)) << id;
    EXPECT_EQ (value ("paramChorusMode"), 2.0f);

    ASSERT_TRUE (load (writeFile ("NoMode.qexp", paramElement ("paramSixtyWet", "10.0"))));
    EXPECT_EQ (value ("paramSixtyWet"), 10.0f) << "without a mode element nothing is kept";
}

TEST_F (PresetFiles, spreadAndVolumeStayWhenTheirOptionsAreSetEvenWithDuplicatedElements)
{
    set ("paramSpread", 150.0f);
    set ("paramGain", 6.0f);
    const auto params = paramElement ("paramSpread", "10.0") + paramElement ("paramGain", "-6.0")
                        + paramElement ("paramSpread", "20.0");

    setOption ("ignorePresetSpreadParam", "true");
    setOption ("ignorePresetVolumeParam", "TRUE"); // only the exact text counts
    ASSERT_TRUE (load (writeFile ("Spread.qexp", params)));
    EXPECT_EQ (value ("paramSpread"), 150.0f);
    EXPECT_EQ (value ("paramGain"), -6.0f);

    setOption ("ignorePresetVolumeParam", "true");
    set ("paramGain", 6.0f);
    ASSERT_TRUE (load (writeFile ("Spread.qexp", params)));
    EXPECT_EQ (value ("paramGain"), 6.0f);
}

TEST_F (PresetFiles, filesThatAreNotPresetsOfThisProductChangeNothing)
{
    set ("paramSpread", 150.0f);
    const auto before = allValues();
    const auto spread = paramElement ("paramSpread", "10.0");

    juce::MemoryBlock binary (4096);
    juce::Random rng (7);
    for (auto& byte : binary)
        byte = (char) rng.nextInt (256);
    const auto binaryFile = userFolder().getChildFile ("Binary.qexp");
    binaryFile.replaceWithData (binary.getData(), binary.getSize());
    const auto emptyFile = userFolder().getChildFile ("Empty.qexp");
    emptyFile.create();

    // A document type declaration lets a few bytes send the parser into endless recursion.
    const auto selfReferring = writeFile ("Entity.qexp", "&a;", "pluginName=\"QEX Tidewell\"");
    selfReferring.replaceWithText ("<!DOCTYPE x [<!ENTITY a \"&&a;\">]>" + selfReferring.loadFileAsString());

    // Opening a FIFO waits for a writer, and a device never ends; neither is read.
    const auto fifo = userFolder().getChildFile ("Fifo.qexp");
    ASSERT_EQ (mkfifo (fifo.getFullPathName().toRawUTF8(), 0644), 0);
    const auto device = userFolder().getChildFile ("Zero.qexp");
    ASSERT_TRUE (juce::File ("/dev/zero").createSymbolicLink (device, true));

    const juce::File rejected[] {
        userFolder().getChildFile ("Missing.qexp"),
        userFolder(),
        emptyFile,
        binaryFile,
        writeFile ("NotXml.qexp", "<<<"),
        writeFile ("NoName.qexp", spread, "presetName=\"x\""),
        writeFile ("Case.qexp", spread, "pluginName=\"QEX TIDEWELL\""),
        writeFile ("Nested.qexp", spread + juce::String::repeatedString ("<a>", 21000)),
        writeFile ("Huge.qexp", spread + juce::String::repeatedString (" ", StateXml::maxTextBytes)),
        writeFile ("Base64.qexp", "<PARAM id=\"paramSpread\" base64:data=\"2000000000.\"/>"),
        selfReferring,
        fifo,
        device,
    };

    EXPECT_FALSE (processor.loadPreset ({}));
    for (const auto& file : rejected)
        EXPECT_FALSE (load (file)) << file.getFileName();

    EXPECT_EQ (allValues(), before);
    EXPECT_EQ (presetName(), "Init");
    EXPECT_TRUE (messages.received().isEmpty());
}

TEST_F (PresetFiles, whatALoadAcceptsSavesAndRestoresEvenAtTheReadersLimits)
{
    // A file at the very limits: as long and with as many elements as the reader takes, most of
    // them unknown, under a root tag of its own.
    const auto params = paramElement ("paramGain", "-6.0") + paramElement ("paramChorusMode", "2.0");
    auto unknown = juce::String::repeatedString ("<x/>", StateXml::maxElements - 3);
    const auto fill = [&] (const juce::String& rootAttributes)
    {
        const auto head = "<Preset " + rootAttributes + ">" + params + unknown;
        return head + juce::String::repeatedString (" ", StateXml::maxTextBytes - head.length() - 9) + "</Preset>";
    };
    const auto atLimit = userFolder().getChildFile ("Limit.qexp");
    atLimit.replaceWithText (fill ("presetName=\"Edge\" pluginName=\"QEX Tidewell\""));
    ASSERT_EQ (atLimit.getSize(), StateXml::maxTextBytes);
    ASSERT_TRUE (load (atLimit));
    EXPECT_EQ (value ("paramGain"), -6.0f);

    QexTidewellAudioProcessor restored;
    restoreState (restored, stateOf (processor));
    EXPECT_EQ (restored.parameters.getRawParameterValue ("paramGain")->load(), -6.0f);
    EXPECT_EQ (restored.parameters.state[QexTidewellAudioProcessor::presetDataName].toString(), "Edge");

    set ("paramGain", 0.0f);
    ASSERT_TRUE (processor.savePreset (userFolder().getChildFile ("Again").getFullPathName()));
    set ("paramGain", 3.0f);
    ASSERT_TRUE (load (userFolder().getChildFile ("Again.qexp")));
    EXPECT_EQ (value ("paramGain"), 0.0f);
    EXPECT_EQ (value ("paramChorusMode"), 2.0f);

    // A name that the state would write at four times its length leaves a state too large to
    // restore: such a preset is refused with nothing changed.
    const auto before = allValues();
    unknown.clear();
    atLimit.replaceWithText (
        fill ("presetName=\"" + juce::String::repeatedString (">", 20000) + "\" pluginName=\"QEX Tidewell\""));
    EXPECT_FALSE (load (atLimit));
    EXPECT_EQ (allValues(), before);
    EXPECT_EQ (presetName(), "Again");
}

TEST_F (PresetFiles, aSaveThatWouldLeaveAStateTooLargeToRestoreIsRefusedRightAtTheLimit)
{
    // A restored state that, naming the preset Warm in the user folder, is as large as a
    // restore takes.
    const auto warm = userFolder().getChildFile ("Warm.qexp");
    const auto own = stateOf (processor);
    auto xml = juce::AudioProcessor::getXmlFromBinary (own.getData(), (int) own.getSize());
    xml->setAttribute (QexTidewellAudioProcessor::presetDataName, "Warm");
    xml->setAttribute (QexTidewellAudioProcessor::presetDataPath, warm.getFullPathName());
    const auto padded = [&xml] (int bytes)
    {
        auto state = *xml;
        state.setAttribute ("padding", juce::String::repeatedString ("p", bytes));
        juce::MemoryBlock data;
        juce::AudioProcessor::copyXmlToBinary (state, data);
        return data;
    };
    const auto largest = largestAccepted (0, StateXml::maxTextBytes,
                                          [&] (int bytes)
                                          {
                                              restoreState (processor, padded (bytes));
                                              return processor.parameters.state["padding"].toString().length() == bytes;
                                          });

    restoreState (processor, padded (largest));
    EXPECT_TRUE (processor.savePreset (warm.getFullPathName())) << "the same name and path take no more room";

    // Two more letters take four more bytes, a folder named with one CJK letter nine ("&#38899;/").
    const auto cjk = userFolder().getChildFile (juce::CharPointer_UTF8 ("\xe9\x9f\xb3"));
    ASSERT_TRUE (cjk.createDirectory());
    EXPECT_FALSE (processor.savePreset (userFolder().getChildFile ("Warmer").getFullPathName()));
    EXPECT_FALSE (processor.savePreset (cjk.getChildFile ("Warm").getFullPathName()));
    EXPECT_FALSE (userFolder().getChildFile ("Warmer.qexp").exists());
    EXPECT_FALSE (cjk.getChildFile ("Warm.qexp").exists());
    EXPECT_EQ (presetName(), "Warm");
    EXPECT_EQ (presetPath(), warm.getFullPathName());

    restoreState (processor, padded (largest - 4));
    ASSERT_TRUE (processor.savePreset (userFolder().getChildFile ("Warmer").getFullPathName()));
    QexTidewellAudioProcessor restored;
    restoreState (restored, stateOf (processor));
    EXPECT_EQ (restored.parameters.state[QexTidewellAudioProcessor::presetDataName].toString(), "Warmer");
}

TEST_F (PresetFiles, bytesThatAreNotUtf8ReadAsWindows1252InPresetAndSettingsFilesAndAreRefusedInAHostState)
{
    // Each file also holds a stray Latin-1 byte in an element the plug-in does not read.
    const std::pair<const char*, const char*> names[] {
        { "\xc1\xa9 Dance", "\xc3\x81\xc2\xa9 Dance" }, // Latin-1 that looks like an over-long form
        { "Cr\xc3\xa8me", "Cr\xc3\xa8me" },             // UTF-8 beside the stray byte keeps its meaning
        // Not a code point: four Windows-1252 characters, one of them the C1 control 0x90.
        { "\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xe2\x82\xac\xe2\x82\xac" },
    };

    for (const auto& [bytes, shown] : names)
    {
        SCOPED_TRACE (textOfBytes (shown));
        const auto text = "<PARAMETERS presetName=\"" + textOfBytes (bytes) + "\" pluginName=\"QEX Tidewell\">"
                          + paramElement ("paramGain", "-6.0") + textOfBytes ("<x a=\"caf\xe9\"/></PARAMETERS>");

        const auto file = userFolder().getChildFile ("Edited.qexp");
        file.replaceWithData (text.toRawUTF8(), numBytesOf (text));
        QexTidewellAudioProcessor loading;
        ASSERT_TRUE (loading.loadPreset (file.getFullPathName()));
        EXPECT_EQ (loading.parameters.state[QexTidewellAudioProcessor::presetDataName].toString(), textOfBytes (shown));
        EXPECT_EQ (loading.parameters.getRawParameterValue ("paramGain")->load(), -6.0f);

        // Only the plug-in writes its state, always as UTF-8.
        QexTidewellAudioProcessor restoring;
        restoreState (restoring, envelope (text));
        EXPECT_EQ (restoring.parameters.getRawParameterValue ("paramGain")->load(), 0.0f);
    }

    // UTF-16 after its byte order mark: a pair is one character, a lone half cannot be known.
    const char16_t utf16[] = u"\xfeff<PARAMETERS presetName=\"W\U0001F3B5\xd800\" pluginName=\"QEX Tidewell\"/>";
    const auto utf16File = userFolder().getChildFile ("Utf16.qexp");
    utf16File.replaceWithData (utf16, sizeof (utf16) - sizeof (char16_t));
    ASSERT_TRUE (processor.loadPreset (utf16File.getFullPathName()));
    EXPECT_EQ (presetName(), textOfBytes ("W\xf0\x9f\x8e\xb5\xef\xbf\xbd"));

    // A damaged key costs no setting, and a letter beside a stray byte keeps its meaning.
    const auto settingsText = textOfBytes (
        "<settings><scale value=\"1.5\"/><ignorePresetSpreadParam value=\"true\"/>"
        "<a value=\"\xc3\xa9\"/><note value=\"\xed\xa0\x80\"/></settings>");
    dataHome.settingsFile().replaceWithData (settingsText.toRawUTF8(), numBytesOf (settingsText));
    QexTidewellAudioProcessor first;
    EXPECT_EQ (first.settings.value (Settings::scale).toString(), "1.5");
    EXPECT_TRUE (first.settings.isOptionSet (Settings::ignorePresetSpreadParam));
    EXPECT_EQ (first.settings.tree().getChildWithName ("a")["value"].toString(), textOfBytes ("\xc3\xa9"));
    EXPECT_EQ (first.settings.tree().getChildWithName ("note")["value"].toString(),
               textOfBytes ("\xc3\xad\xc2\xa0\xe2\x82\xac"));

    ASSERT_TRUE (first.saveSettings());
    QexTidewellAudioProcessor second;
    EXPECT_EQ (second.settings.tree().toXmlString(), first.settings.tree().toXmlString());
}

TEST_F (PresetFiles, aNameOutsideAsciiIsRefusedOtherTextIsTakenAndWhatASaveWritesLoadsTheSameInAFreshInstance)
{
    auto numFiles = 0;
    const auto fileOf = [this, &numFiles] (const char* rootAttributes, const char* extra)
    {
        const auto text = "<?xml version=\"1.0\"?>\r\n<PARAMETERS " + textOfBytes (rootAttributes)
                          + " pluginName=\"QEX Tidewell\">" + paramElement ("paramChorusMode", "3.0")
                          + paramElement ("paramGain", "-6.0") + textOfBytes (extra) + "</PARAMETERS>\r\n";
        const auto file = userFolder().getChildFile ("Edited" + juce::String (++numFiles) + ".qexp");
        file.replaceWithData (text.toRawUTF8(), numBytesOf (text));
        return file;
    };

    const std::tuple<const char*, juce::File, bool> cases[] {
        { "an over-long e in a name", fileOf ("presetName=\"Warm\"", "<F\xc1\xa5G/>"), false },
        // Bytes that are not UTF-8 read as Windows-1252, whatever they look like.
        { "an over-long letter in a value", fileOf ("presetName=\"W\xc1\xa1rm\"", ""), true },
        { "a surrogate", fileOf ("presetName=\"\xed\xa0\x80\"", ""), true },
        { "bytes that are not UTF-8", fileOf ("presetName=\"W\xe4rme\"", "<x a=\"\xe9\x9f\"/>"), true },
        { "a letter outside ASCII in a name",
          fileOf ("presetName=\"Warm\"", "<PARAM id=\"paramSpread\" v\xc3\xa9=\"1\"/>"), false },
        { "letters outside ASCII in values", fileOf ("presetName=\"W\xc3\xa4rme \xe9\x9f\xb3\"", ""), true },
        // A character reference to a code point past Unicode is stored as an over-long "e".
        { "an exponent in disguise",
          fileOf ("presetName=\"Warm\"", "<PARAM id=\"paramSpread\" value=\"1&#x40000065;4294967295\"/>"), true },
    };

    for (const auto* locale : { "C", "C.UTF-8" })
    {
        const ScopedLocale hostLocale (locale);
        if (! hostLocale.isSet)
            continue;

        for (const auto& [what, file, taken] : cases)
        {
            SCOPED_TRACE (juce::String (what) + " under the locale " + locale);
            QexTidewellAudioProcessor first;
            setParameter (first, "paramSpread", 150.0f);
            EXPECT_EQ (first.loadPreset (file.getFullPathName()), taken);
            EXPECT_EQ (first.parameters.getRawParameterValue ("paramGain")->load(), taken ? -6.0f : 0.0f);
            EXPECT_EQ (first.parameters.getRawParameterValue ("paramSpread")->load(),
                       file.loadFileAsString().contains ("&#x") ? 200.0f : 150.0f);

            const auto saved = userFolder().getChildFile ("Saved.qexp");
            ASSERT_TRUE (first.savePreset (saved.getFullPathName()));
            const auto written = saved.loadFileAsString();
            QexTidewellAudioProcessor second;
            ASSERT_TRUE (second.loadPreset (saved.getFullPathName()));
            EXPECT_EQ (parameterValues (second), parameterValues (first));
            ASSERT_TRUE (second.savePreset (saved.getFullPathName()));
            EXPECT_EQ (saved.loadFileAsString(), written);
        }
    }
}

// A user whose home or data folder is named in Latin-1, as an older system named it.
TEST (DataFolder, namedOutsideUtf8ItIsMadeWhereTheEnvironmentSaysAndKeepsSettingsAndPresets)
{
    ScopedDataHome home;
    const auto dataHome = home.root().getFullPathName().toStdString() + "/jos\xe9 \xc1\xa9";
    const ScopedEnvironmentVariable variable ("XDG_DATA_HOME", textOfBytes (dataHome));
    const auto user = dataHome + "/Vellomar/QEX Tidewell/Presets/User";
    const auto bytesOf = [] (const juce::var& text) { return text.toString().toStdString(); };

    {
        QexTidewellAudioProcessor processor;
        EXPECT_EQ (processor.userPresetFolder.toStdString(), user);
        EXPECT_TRUE (isFolderAt (user));

        processor.settings.setValue ("scale", 1.5);
        EXPECT_TRUE (processor.saveSettings());

        // Saved as "new" into a folder of the same kind, as the save dialog hands it over.
        ASSERT_EQ (::mkdir ((user + "/Dossier \xe9t\xe9").c_str(), 0700), 0);
        const juce::File chosen (textOfBytes (user + "/Dossier \xe9t\xe9/new"));
        EXPECT_TRUE (processor.savePreset (chosen.getFullPathName()));
        EXPECT_EQ (bytesOf (processor.parameters.state[QexTidewellAudioProcessor::presetDataPath]),
                   user + "/Dossier \xe9t\xe9/new.qexp");
    }

    QexTidewellAudioProcessor fresh;
    EXPECT_EQ (static_cast<double> (fresh.settings.value ("scale")), 1.5);
    EXPECT_TRUE (fresh.loadPreset (textOfBytes (user + "/Dossier \xe9t\xe9/new.qexp")));
    EXPECT_EQ (bytesOf (fresh.parameters.state[QexTidewellAudioProcessor::presetDataName]), "new");
}
