#include "Navbar.h"

#include "DesktopOpener.h"
#include "PluginEditor.h"
#include "WarningBox.h"
#include "lookandfeel/LookAndFeelCustom.h"
#include "processor/ProductInfo.h"
#include "processor/params/ControlTable.h"
#include "processor/state/PresetFile.h"

#include <BinaryData.h>

namespace
{
using LF = LookAndFeelCustom;

std::unique_ptr<juce::XmlElement> parseSvg (const char* data, int size)
{
    return juce::XmlDocument::parse (juce::String::fromUTF8 (data, size));
}

std::unique_ptr<juce::Drawable> recoloured (const juce::XmlElement* svg, juce::Colour colour)
{
    if (svg == nullptr)
        return {};

    auto drawable = juce::Drawable::createFromSVG (*svg);
    if (drawable != nullptr)
        drawable->replaceColour (juce::Colours::black, colour);

    return drawable;
}
} // namespace

Navbar::Navbar (QexTidewellAudioProcessor& processor) : audioProcessor (processor)
{
    audioProcessor.addActionListener (this);

    const auto makeButton = [this] (IconButton& icon, const juce::String& name, juce::DrawableButton::ButtonStyle style,
                                    const char* svgData, int svgSize, bool hasSecondImage)
    {
        const auto svg = parseSvg (svgData, svgSize);
        icon.image = recoloured (svg.get(), LF::offWhiteBrightColour);
        if (hasSecondImage)
            icon.secondImage = recoloured (svg.get(), LF::midGrayColour);

        icon.button = std::make_unique<juce::DrawableButton> (name, style);
        icon.button->setEdgeIndent (3);
        icon.button->setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentBlack);
        addAndMakeVisible (*icon.button);
    };

    const auto pressableButton = [&] (IconButton& icon, const juce::String& name, const char* svgData, int svgSize)
    {
        makeButton (icon, name, juce::DrawableButton::ImageFitted, svgData, svgSize, true);
        icon.button->setImages (icon.image.get(), nullptr, icon.secondImage.get());
        icon.button->addListener (this);
    };

    // The logo keeps its look when pressed.
    makeButton (logo, "logoButton", juce::DrawableButton::ImageRaw, BinaryData::logo_svg, BinaryData::logo_svgSize,
                false);
    logo.button->setImages (logo.image.get(), nullptr, logo.image.get());
    logo.button->setEdgeIndent (0);
    logo.button->addListener (this);

    logoMenu.addItem ("User guide", [this] { openUserGuide(); });
    logoMenu.addItem ("Reset GUI scaling", [this] { resetGuiScaling(); });
    const auto host = ProductInfo::webSiteHost();
    logoMenu.addItem ("Visit " + juce::String (host.data(), host.size()),
                      []
                      {
                          if (! DesktopOpener::openWebPage (juce::URL (ProductInfo::webSite)))
                              showWarningBox ("No program was found to open the web site!");
                      });

    // Grey while on (bypassed). Its clicks go to the parameter only, through the attachment.
    makeButton (bypass, "BypassButton", juce::DrawableButton::ImageFitted, BinaryData::power_svg,
                BinaryData::power_svgSize, true);
    bypass.button->setImages (bypass.image.get(), nullptr, nullptr, nullptr, bypass.secondImage.get());
    bypass.button->setClickingTogglesState (true);
    bypassAttachment = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment> (
        audioProcessor.parameters, ControlTable::globalControlId (ControlTable::bypass), *bypass.button);

    pressableButton (settings, "settingsButton", BinaryData::settings_svg, BinaryData::settings_svgSize);
    pressableButton (save, "saveButton", BinaryData::save_svg, BinaryData::save_svgSize);
    pressableButton (refresh, "refreshButton", BinaryData::refresh_svg, BinaryData::refresh_svgSize);
}

Navbar::~Navbar() { audioProcessor.removeActionListener (this); }

void Navbar::paint (juce::Graphics& g)
{
    g.fillAll (LF::darkGrayColour);

    // Separator between the preset buttons and the settings button.
    g.setColour (juce::Colour (0xff5c5f64));
    g.drawRect (juce::Rectangle<float> ((float) getWidth() - 78.0f, 10.0f, 1.0f, (float) getHeight() - 20.0f), 1.0f);
}

void Navbar::resized()
{
    const auto w = getWidth();

    logo.button->setBounds (15, 11, 213, 29);
    bypass.button->setBounds (w - 36, 12, 25, 25);
    settings.button->setBounds (w - 65, 12, 25, 25);
    save.button->setBounds (w - 151, 12, 25, 25);
    refresh.button->setBounds (w - 124, 12, 36, 25);
}

void Navbar::actionListenerCallback (const juce::String&) {}

void Navbar::buttonClicked (juce::Button* button)
{
    auto* editor = findParentComponentOfClass<QexTidewellAudioProcessorEditor>();

    if (button == save.button.get())
        launchSaveDialog();
    else if (button == refresh.button.get() && editor != nullptr)
        editor->presetBrowser.refreshMenu();
    else if (button == settings.button.get() && editor != nullptr)
        editor->settingsDialog.showOrHide();
    else if (button == logo.button.get())
        logoMenu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (logo.button.get()));
}

void Navbar::launchSaveDialog()
{
    presetChooser = std::make_unique<juce::FileChooser> ("Please enter the name of the preset to save",
                                                         juce::File (audioProcessor.userPresetFolder),
                                                         "*" + PresetFile::extension, true, false, nullptr);

    // canSelectFiles is needed by the framework's own dialog where no native one exists. The
    // dialog's own overwrite warning is not asked for: it checks the name as typed, before
    // ".qexp" is appended, so savePresetTo asks instead.
    const auto dialogFlags = juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles;

    presetChooser->launchAsync (dialogFlags,
                                [this] (const juce::FileChooser& chooser) { savePresetTo (chooser.getResult()); });
}

void Navbar::savePresetTo (const juce::File& chosen)
{
    if (chosen == juce::File())
        return;

    const auto path = PresetFile::pathFor (chosen.getFullPathName());

    // Only a preset is offered to be replaced; a folder in its place fails to be written,
    // which writePreset reports.
    if (! juce::File (path).existsAsFile())
    {
        writePreset (path);
        return;
    }

    const auto navbar = juce::Component::SafePointer<Navbar> (this);
    juce::AlertWindow::showAsync (juce::MessageBoxOptions()
                                      .withIconType (juce::MessageBoxIconType::NoIcon)
                                      .withTitle ("WARNING")
                                      .withMessage ("The preset \"" + juce::File (path).getFileNameWithoutExtension()
                                                    + "\" already exists. Do you want to replace it?")
                                      .withButton ("Replace")
                                      .withButton ("Cancel")
                                      .withAssociatedComponent (this),
                                  [navbar, path] (int result)
                                  {
                                      if (navbar != nullptr && result == 1)
                                          navbar->writePreset (path);
                                  });
}

void Navbar::writePreset (const juce::String& path)
{
    if (! audioProcessor.savePreset (path))
        showWarningBox ("The preset could not be saved!");
}

void Navbar::openUserGuide()
{
    const auto guide = juce::File (audioProcessor.dataFolder).getChildFile (ProductInfo::userGuideFileName);

    if (! guide.existsAsFile())
        showWarningBox ("User guide does not exist!");
    else if (! DesktopOpener::openDocument (guide))
        showWarningBox ("No program was found to open the user guide!");
}

void Navbar::resetGuiScaling()
{
    if (auto* editor = findParentComponentOfClass<QexTidewellAudioProcessorEditor>())
        editor->setBounds (editor->getX(), editor->getY(), editor->baseWidth, editor->baseHeight);
}
