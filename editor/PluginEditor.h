#pragma once

#include "ChorusPanel.h"
#include "MetersPanel.h"
#include "Navbar.h"
#include "OutputPanel.h"
#include "PresetBrowser.h"
#include "SaveScaleTimer.h"
#include "SettingsDialog.h"
#include "lookandfeel/LookAndFeelCustom.h"
#include "lookandfeel/LookAndFeelTabButton.h"
#include "processor/PluginProcessor.h"
#include "processor/params/ControlTable.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <memory>

/** The plug-in's window. Every component lives in one container of the base size, which is
    drawn scaled to the window's width; the mode tabs select the chorus mode and its panel. */
class QexTidewellAudioProcessorEditor : public juce::AudioProcessorEditor,
                                        public juce::Button::Listener,
                                        public juce::ActionListener,
                                        private juce::Timer
{
public:
    explicit QexTidewellAudioProcessorEditor (QexTidewellAudioProcessor& p);
    ~QexTidewellAudioProcessorEditor() override;

    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;
    void actionListenerCallback (const juce::String& message) override;
    void buttonClicked (juce::Button*) override;

    /** Turns on the tab of the named mode and shows its panel; other names show none. */
    void showPanel (juce::String modeName);

    /** Shows the mode that the mode parameter holds. */
    void showActivePanel();

    /** Sizes the editor by the scale stored in the settings. */
    void setScale();

    /** Opens the copy, paste and duplicate menu of a mode at the mouse. */
    void showCopyPasteMenu (juce::String modeName);

    /** The mode's settings as one line of text for the clipboard. */
    juce::String copyMode (juce::String modeName);

    /** Applies mode text from the clipboard to the mode; any other text changes nothing. */
    void pasteMode (juce::String modeName);

    /** Applies mode text, which may come from any mode, to the named mode. */
    void pasteModeText (const juce::String& modeName, const juce::String& text);

    /** Copies the mode to the clipboard and applies it to the three other modes. */
    void duplicateToAllModes (juce::String modeName);

    /** Makes the framework's default look and feel the plug-in's for as long as it exists. */
    struct DefaultPluginLookAndFeel
    {
        DefaultPluginLookAndFeel();
        ~DefaultPluginLookAndFeel();

        LookAndFeelCustom lookAndFeel;

        JUCE_DECLARE_NON_COPYABLE (DefaultPluginLookAndFeel)
    };

    static constexpr int numModes = (int) ControlTable::numModes;

    juce::SharedResourcePointer<DefaultPluginLookAndFeel> sharedLookAndFeel;
    QexTidewellAudioProcessor& audioProcessor;
    const int baseWidth = 707;
    const int baseHeight = 336;
    bool resizeReady = false;
    juce::Component contentComponent;
    Navbar navbar;
    PresetBrowser presetBrowser;
    SettingsDialog settingsDialog;
    std::array<LookAndFeelTabButton, numModes> tabLookAndFeels;
    std::array<std::unique_ptr<juce::TextButton>, numModes> modeTabs;
    juce::PopupMenu copyPasteMenu;
    MetersPanel metersPanel;
    std::array<ChorusPanel, numModes> chorusPanels;
    OutputPanel outputPanel;
    SaveScaleTimer saveScaleTimer;
    float currentScale = 1.0f;

private:
    void timerCallback() override;

    friend struct EditorTestAccess;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QexTidewellAudioProcessorEditor)
};
