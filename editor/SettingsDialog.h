#pragma once

#include "processor/PluginProcessor.h"
#include "processor/ProductInfo.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The settings overlay: it dims the whole editor and shows the preset-loading options in a
    panel. Every change is written to the settings file at once; the close button hides it. */
class SettingsDialog : public juce::Component, public juce::Button::Listener
{
public:
    explicit SettingsDialog (QexTidewellAudioProcessor& processor);
    ~SettingsDialog() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    /** Computes the panel's geometry and the version line; call before showing the overlay. */
    void prepareLayout();

    /** Shows the overlay, laid out afresh, when it is hidden, and hides it when it is shown. */
    void showOrHide();

    static constexpr const char* versionText = ProductInfo::version;

private:
    void writeOption (const juce::Identifier& key, bool isSet);

    QexTidewellAudioProcessor& audioProcessor;

    std::unique_ptr<juce::DrawableButton> closeButton;
    juce::Label titleLabel;
    juce::Label presetOptionsLabel;
    juce::Label versionLabel;
    juce::ComboBox presetModeBox;
    juce::ToggleButton loadSpreadButton { "Load spread" };
    juce::ToggleButton loadVolumeButton { "Load volume" };

    int panelY = 0;
    int panelX = 0;
    int panelHeight = 0;
    int optionRows = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SettingsDialog)
};
