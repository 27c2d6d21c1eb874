#include "ProcessorFixture.h"

#include "processor/state/StateXml.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{
void writeSettings (const ScopedDataHome& home, const juce::String& text)
{
    home.settingsFile().getParentDirectory().createDirectory();
    ASSERT_TRUE (home.settingsFile().replaceWithText (text));
}
} // namespace

TEST (SettingsFile, nothingIsWrittenUntilASaveWhichWritesTheWholeTreeInTheDefaultXmlFormat)
{
    ScopedDataHome home;
    {
        QexTidewellAudioProcessor processor;
        EXPECT_FALSE (home.settingsFile().exists());
        ASSERT_TRUE (processor.saveSettings());
        processor.settings.setValue ("scale", 2.0); // never saved, so never written
    }
    EXPECT_EQ (home.settingsFile().loadFileAsString(),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
               "\r\n"
               "<settings>\r\n"
               "  <scale value=\"1.0\"/>\r\n"
               "  <ignorePresetInactiveModes value=\"false\"/>\r\n"
               "  <ignorePresetSpreadParam value=\"false\"/>\r\n"
               "  <ignorePresetVolumeParam value=\"false\"/>\r\n"
               "</settings>\r\n");

    QexTidewellAudioProcessor processor;
    processor.settings.setValue ("scale", 2.0);
    ASSERT_TRUE (processor.saveSettings());
    EXPECT_TRUE (home.settingsFile().loadFileAsString().contains ("<scale value=\"2.0\"/>"));
}

TEST (SettingsFile, aFileUnderAnyRootReplacesTheDefaultsAndWhatItHoldsBeyondThemSurvivesSaves)
{
    ScopedDataHome home;
    writeSettings (home, "<other colour=\"blue\"><scale value=\"1.5\"/><futureOption value=\"x\"/></other>");

    QexTidewellAudioProcessor processor;
    ActionRecorder lateListener (processor);
    ASSERT_EQ (processor.settings.tree().getNumChildren(), 2);
    EXPECT_EQ (static_cast<double> (processor.settings.value ("scale")), 1.5);
    EXPECT_FALSE (processor.settings.isOptionSet ("ignorePresetSpreadParam"));
    EXPECT_TRUE (lateListener.received().isEmpty()) << "SettingsLoaded went out before anyone could listen";

    // A setting switched later is appended, so the next save keeps the file's order first.
    processor.settings.setValue ("ignorePresetSpreadParam", "true");
    ASSERT_TRUE (processor.saveSettings());
    const auto text = home.settingsFile().loadFileAsString();
    EXPECT_LT (text.indexOf ("futureOption"), text.indexOf ("ignorePresetSpreadParam"));

    const auto saved = juce::parseXML (text);
    ASSERT_NE (saved, nullptr);
    EXPECT_EQ (saved->getTagName(), "settings");
    EXPECT_EQ (saved->getStringAttribute ("colour"), "blue");
    EXPECT_NE (saved->getChildByName ("futureOption"), nullptr);
}

TEST (SettingsFile, onlyTheExactTextTrueSetsAnOption)
{
    ScopedDataHome home;
    writeSettings (home,
                   "<settings><ignorePresetInactiveModes value=\"TRUE\"/><ignorePresetSpreadParam value=\"1\"/>"
                   "<ignorePresetVolumeParam value=\"yes\"/><extra value=\"true\"/></settings>");

    QexTidewellAudioProcessor processor;
    EXPECT_FALSE (processor.settings.isOptionSet ("ignorePresetInactiveModes"));
    EXPECT_FALSE (processor.settings.isOptionSet ("ignorePresetSpreadParam"));
    EXPECT_FALSE (processor.settings.isOptionSet ("ignorePresetVolumeParam"));
    EXPECT_TRUE (processor.settings.isOptionSet ("extra"));
}

TEST (SettingsFile, unreadableOrHostileFilesLeaveTheDefaults)
{
    const juce::String badTexts[] = {
        "",
        "not xml at all",
        "<settings><scale value=\"1.5\"",
        "\x01\x02\xff\xfe",
        // The framework's parser loops forever on an instruction inside the root, and recurses
        // once per level.
        "<settings><scale value=\"1.0\"/><?pi x?>text</settings>",
        juce::String::repeatedString ("<a>", 50000),
        "<settings><scale value=\"1.5\"/>" + juce::String::repeatedString (" ", StateXml::maxTextBytes) + "</settings>",
        "<settings><scale base64:value=\"2000000000.\"/></settings>",
        // Loads, but once saved would be four times as long and then refused.
        "<settings><scale value=\"1.5\" note=\"" + juce::String::repeatedString (">", 20000) + "\"/></settings>",
    };

    for (const auto& text : badTexts)
    {
        ScopedDataHome home;
        writeSettings (home, text);
        QexTidewellAudioProcessor processor;
        ActionRecorder recorder (processor);
        EXPECT_EQ (processor.settings.tree().getNumChildren(), 4) << text.substring (0, 60);
        EXPECT_EQ (processor.settings.tree().getChild (0)["value"].toString(), "1.0");
        EXPECT_EQ (home.settingsFile().loadFileAsString(), text) << "a bad file is not overwritten at start";
    }

    // Neither a FIFO, which would wait for a writer, nor a device, which never ends, is read.
    for (const auto fifo : { true, false })
    {
        ScopedDataHome home;
        home.productFolder().createDirectory();
        const auto path = home.settingsFile().getFullPathName();
        ASSERT_TRUE (fifo ? mkfifo (path.toRawUTF8(), 0644) == 0
                          : juce::File ("/dev/zero").createSymbolicLink (home.settingsFile(), true));
        QexTidewellAudioProcessor processor;
        EXPECT_EQ (processor.settings.tree().getNumChildren(), 4);
    }

    ScopedDataHome home;
    home.settingsFile().getChildFile ("keep.txt").create();
    QexTidewellAudioProcessor processor;
    EXPECT_EQ (processor.settings.tree().getNumChildren(), 4);
    EXPECT_FALSE (processor.saveSettings()) << "a folder named settings.xml is not written over";
    EXPECT_TRUE (home.settingsFile().getChildFile ("keep.txt").existsAsFile());
}

TEST (SettingsFile, aDataFolderThatCannotBeWrittenStopsNoInstanceAndAFailedSaveKeepsTheValues)
{
    {
        ScopedDataHome home;
        // A file where the vendor folder should be: nothing below it can be created.
        home.root().getChildFile ("Vellomar").replaceWithText ("in the way");
        QexTidewellAudioProcessor processor;
        EXPECT_FALSE (juce::File (processor.userPresetFolder).isDirectory());
        EXPECT_EQ (processor.settings.tree().getNumChildren(), 4);

        processor.settings.setValue ("ignorePresetVolumeParam", "true");
        EXPECT_FALSE (processor.saveSettings());
        EXPECT_TRUE (processor.settings.isOptionSet ("ignorePresetVolumeParam"));
    }

    ScopedDataHome home;
    QexTidewellAudioProcessor processor;
    home.productFolder().setReadOnly (true);
    processor.settings.setValue ("ignorePresetVolumeParam", "true");
    const auto written = processor.saveSettings();
    home.productFolder().setReadOnly (false);

    if (getuid() != 0) // root writes through read-only folders
    {
        EXPECT_FALSE (written);
    }
    EXPECT_TRUE (processor.settings.isOptionSet ("ignorePresetVolumeParam"));
}

TEST (SettingsFile, aKeyOutsideAsciiIsRefusedOtherTextIsTakenAndWhatTheEditorSavesReadsBackTheSame)
{
    const std::tuple<const char*, const char*, bool> cases[] {
        { "an over-long e in a key", "<k\xc1\xa5G value=\"1\"/>", false },
        { "an over-long letter in a value", "<note value=\"\xc1\xa1\"/>", true },
        { "a surrogate", "<note value=\"\xed\xa0\x80\"/>", true },
        { "a letter outside ASCII in a key", "<k\xc3\xa9y value=\"1\"/>", false },
        { "letters outside ASCII in a value", "<note value=\"W\xc3\xa4rme \xe9\x9f\xb3\"/>", true },
    };

    for (const auto* locale : { "C", "C.UTF-8" })
    {
        const ScopedLocale hostLocale (locale);
        if (! hostLocale.isSet)
            continue;

        for (const auto& [what, extra, taken] : cases)
        {
            SCOPED_TRACE (juce::String (what) + " under the locale " + locale);
            ScopedDataHome home;
            const auto text = "<settings><scale value=\"1.5\"/>" + textOfBytes (extra) + "</settings>";
            home.productFolder().createDirectory();
            home.settingsFile().replaceWithData (text.toRawUTF8(), numBytesOf (text));

            QexTidewellAudioProcessor first;
            EXPECT_EQ (first.settings.value (Settings::scale).toString(), taken ? "1.5" : "1.0");

            // The editor writes the scale it opened at, and a preset option.
            first.settings.setValue (Settings::scale, 1.25);
            first.settings.setOption (Settings::ignorePresetSpreadParam, true);
            ASSERT_TRUE (first.saveSettings());
            const auto written = home.settingsFile().loadFileAsString();

            QexTidewellAudioProcessor second;
            EXPECT_EQ (second.settings.tree().toXmlString(), first.settings.tree().toXmlString());
            ASSERT_TRUE (second.saveSettings());
            EXPECT_EQ (home.settingsFile().loadFileAsString(), written);
        }
    }
}
