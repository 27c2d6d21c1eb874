#pragma once

#include "processor/PluginProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The strip across the top of the editor: the logo with its menu, the preset save and
    refresh buttons, the settings button and the global bypass. It acts on the rest of the
    window through the editor that contains it. */
class Navbar : public juce::Component, private juce::Button::Listener, public juce::ActionListener
{
public:
    explicit Navbar (QexTidewellAudioProcessor& processor);
    ~Navbar() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void actionListenerCallback (const juce::String&) override;

    /** Writes the preset to the file the save dialog returned, with ".qexp" appended unless
        it ends so; an empty file means the dialog was cancelled. When that preset exists, the
        user is asked first whether to replace it. Tells the user when the preset could not be
        written. */
    void savePresetTo (const juce::File& chosen);

    const juce::PopupMenu& getLogoMenu() const { return logoMenu; }

private:
    void buttonClicked (juce::Button*) override;

    void openUserGuide();
    void resetGuiScaling();
    void launchSaveDialog();
    void writePreset (const juce::String& path);

    /** A button with the images it shows; the button keeps copies of them. */
    struct IconButton
    {
        std::unique_ptr<juce::DrawableButton> button;
        std::unique_ptr<juce::Drawable> image;
        std::unique_ptr<juce::Drawable> secondImage;
    };

    QexTidewellAudioProcessor& audioProcessor;

    IconButton logo;
    IconButton bypass;
    IconButton settings;
    IconButton save;
    IconButton refresh;

    // Declared after the bypass button, so that it detaches from the button before the
    // button goes.
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> bypassAttachment;

    juce::PopupMenu logoMenu;
    std::unique_ptr<juce::FileChooser> presetChooser;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Navbar)
};
