#include "SettingsDialog.h"

#include "lookandfeel/LookAndFeelCustom.h"
#include "processor/ProductInfo.h"

namespace
{
enum PresetModeItem
{
    loadAllModes = 1,
    loadActiveModeOnly = 2
};

std::unique_ptr<juce::Drawable> closeIcon (juce::Colour colour)
{
    auto icon = LookAndFeelCustom::getCloseIcon();
    icon->setStrokeFill (colour);
    return icon;
}
} // namespace

SettingsDialog::SettingsDialog (QexTidewellAudioProcessor& processor) : audioProcessor (processor), optionRows (2)
{
    using LF = LookAndFeelCustom;

    const auto headingFont = LF::getProximaNovaCondSemibold().withHeight (15.0f);
    const auto textFont = LF::getProximaNovaSemibold().withHeight (12.0f);

    const auto styleLabel = [this] (juce::Label& label, const juce::String& text, juce::Colour colour,
                                    juce::Justification justification, const juce::Font& font)
    {
        label.setText (text, juce::dontSendNotification);
        label.setColour (juce::Label::textColourId, colour);
        label.setJustificationType (justification);
        label.setFont (font);
        addAndMakeVisible (label);
    };

    styleLabel (versionLabel, {}, LF::midGrayColour, juce::Justification::centred, textFont);
    styleLabel (titleLabel, "SETTINGS", LF::offWhiteBrightColour, juce::Justification::centredTop, headingFont);
    styleLabel (presetOptionsLabel, "Preset options", LF::offWhiteBrightColour, juce::Justification::centredLeft,
                textFont);

    const auto& settings = audioProcessor.settings;

    presetModeBox.addItem ("Load all chorus modes", loadAllModes);
    presetModeBox.addItem ("Only load active chorus mode", loadActiveModeOnly);
    const auto activeModeOnly = settings.isOptionSet (Settings::ignorePresetInactiveModes);
    presetModeBox.setSelectedId (activeModeOnly ? loadActiveModeOnly : loadAllModes, juce::sendNotificationAsync);
    presetModeBox.onChange = [this]
    { writeOption (Settings::ignorePresetInactiveModes, presetModeBox.getSelectedId() == loadActiveModeOnly); };
    addAndMakeVisible (presetModeBox);

    // A ticked toggle loads the control from presets, so it shows the opposite of its setting.
    const auto showOption = [this, &settings] (juce::ToggleButton& button, const juce::Identifier& option)
    {
        button.setToggleState (! settings.isOptionSet (option), juce::dontSendNotification);
        button.onClick = [this, &button, option] { writeOption (option, ! button.getToggleState()); };
        addAndMakeVisible (button);
    };
    showOption (loadSpreadButton, Settings::ignorePresetSpreadParam);
    showOption (loadVolumeButton, Settings::ignorePresetVolumeParam);

    closeButton = std::make_unique<juce::DrawableButton> ("closeButton", juce::DrawableButton::ImageFitted);
    const auto normal = closeIcon (LF::offWhiteColour);
    const auto down = closeIcon (LF::midGrayColour);
    closeButton->setImages (normal.get(), nullptr, down.get());
    closeButton->setEdgeIndent (3);
    closeButton->setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentBlack);
    closeButton->addListener (this);
    addAndMakeVisible (*closeButton);

    prepareLayout();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::writeOption (const juce::Identifier& key, bool isSet)
{
    audioProcessor.settings.setOption (key, isSet);
    audioProcessor.saveSettings();
}

void SettingsDialog::prepareLayout()
{
    panelX = 131;
    panelY = 49 - (int) (16.5 * optionRows);
    panelHeight = 33 * optionRows + 237;

    versionLabel.setText (juce::String (ProductInfo::name) + " v" + versionText, juce::dontSendNotification);

    repaint();
    resized();
}

void SettingsDialog::showOrHide()
{
    if (isVisible())
    {
        setVisible (false);
        return;
    }

    prepareLayout();
    setVisible (true);
}

void SettingsDialog::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black.withAlpha ((juce::uint8) 0xbf));

    g.setColour (LookAndFeelCustom::bgColour);
    g.fillRect (116, 16, 400, panelHeight);

    // Separators above and below the band that holds no control.
    g.setColour (LookAndFeelCustom::borderColour);
    g.fillRect (panelX, panelY + 62 + 33 * optionRows, 370, 1);
    g.fillRect (panelX, panelY + 195 + 33 * optionRows, 370, 1);
}

void SettingsDialog::resized()
{
    const auto x = panelX;
    const auto y = panelY;

    closeButton->setBounds (x + 358, y + 7, 21, 19);
    titleLabel.setBounds (x, y + 20, 370, 30);
    presetOptionsLabel.setBounds (x, y + 53, 140, 25);
    presetModeBox.setBounds (x + 97, y + 53, 275, 25);
    loadSpreadButton.setBounds (x + 94, y + 86, 100, 25);
    loadVolumeButton.setBounds (x + 199, y + 86, 103, 25);
    versionLabel.setBounds (x, y + 270, 370, 25);
}

void SettingsDialog::buttonClicked (juce::Button* button)
{
    if (button == closeButton.get())
        showOrHide();
}
