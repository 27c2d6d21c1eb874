#pragma once

#include "PresetFolderScan.h"
#include "lookandfeel/LookAndFeelPresetName.h"
#include "processor/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The preset selector in the top bar: the current preset's name, which opens a menu of every
    preset in the user and factory folders, between arrows that step through that same list.
    Loading is the processor's; the browser follows its messages to show the name and tick. */
class PresetBrowser : public juce::Component, public juce::Button::Listener, public juce::ActionListener
{
public:
    /** Most user presets and sub-folders the menu lists. Far above any real collection, it only
        guards the message thread against trees no person makes: a refresh takes 3 to 7
        microseconds per preset (reading, sorting, and an item that holds a path and an action),
        so under a second at this bound. */
    static constexpr int maxListedEntries = 100000;

    /** entryLimit lowers maxListedEntries, for checks that cannot afford that many files. */
    explicit PresetBrowser (QexTidewellAudioProcessor& processor, int entryLimit = maxListedEntries);
    ~PresetBrowser() override;

    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;
    void actionListenerCallback (const juce::String& message) override;

    /** Rescans both preset folders and rebuilds the menu and the arrows' list. */
    void refreshMenu();

    /** Adds folder's presets to menu, and a sub-menu for each sub-folder at any depth, in menu
        order, as far as the scan that refreshMenu started lists them. Whatever it leaves out is
        counted in a disabled item at the end of its folder. */
    void addFilesToMenu (juce::PopupMenu* menu, juce::String folder, PresetFolderScan& scan);

    const juce::PopupMenu& getPresetMenu() const { return presetMenu; }
    const juce::Array<juce::File>& getPresetFiles() const { return presetFiles; }
    int getCurrentIndex() const { return currentIndex; }
    bool isMenuOpen() const { return menuOpen; }

private:
    void showNameFromState();

    /** Loads the preset at path, and tells the user when a file was named but not loaded. */
    void loadPresetFile (const juce::String& path);

    QexTidewellAudioProcessor& audioProcessor;

    std::unique_ptr<juce::DrawableButton> nextButton;
    std::unique_ptr<juce::DrawableButton> prevButton;
    LookAndFeelPresetName nameLookAndFeel;
    juce::TextButton nameButton;

    juce::String rootFolder;
    juce::String userFolder;
    juce::String factoryFolder;

    int presetCount = 0;
    int currentIndex = 1; // 1-based position of the current preset in presetFiles
    juce::String currentPresetPath;
    juce::Array<juce::File> presetFiles;
    juce::PopupMenu presetMenu;
    bool menuOpen = false;
    std::unique_ptr<juce::FileChooser> loadChooser;

    const int listedEntryLimit;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetBrowser)
};
