#include "PresetBrowser.h"

#include "DesktopOpener.h"
#include "WarningBox.h"
#include "processor/StatusMessages.h"

#include <vector>

namespace
{
using LF = LookAndFeelCustom;

/** A folder whose menu is being filled, with its entries in menu order and what of them is
    done, listed or left out. */
struct OpenFolder
{
    juce::PopupMenu menu;
    juce::String name;
    std::vector<PresetFolderScan::Entry> entries;
    size_t next = 0;
    int presetsLeftOut = 0;
    int foldersLeftOut = 0;
};

std::unique_ptr<juce::DrawablePath> chevron (juce::Colour colour)
{
    juce::Path path;
    path.startNewSubPath (8.0f, 7.5f);
    path.lineTo (13.0f, 14.5f);
    path.lineTo (8.0f, 21.5f);

    auto drawable = std::make_unique<juce::DrawablePath>();
    drawable->setPath (path);
    drawable->setFill (juce::Colours::transparentBlack);
    drawable->setStrokeFill (colour);
    drawable->setStrokeThickness (2.0f);
    return drawable;
}

std::unique_ptr<juce::DrawableButton> arrowButton (const juce::String& name, const juce::Drawable& normal,
                                                   const juce::Drawable& down)
{
    auto button = std::make_unique<juce::DrawableButton> (name, juce::DrawableButton::ImageRaw);
    button->setImages (&normal, nullptr, &down);
    button->setEdgeIndent (0);
    return button;
}
} // namespace

PresetBrowser::PresetBrowser (QexTidewellAudioProcessor& processor, int entryLimit)
    : audioProcessor (processor),
      listedEntryLimit (entryLimit)
{
    audioProcessor.addActionListener (this);

    nameButton.setColour (juce::TextButton::buttonColourId, juce::Colours::transparentBlack);
    nameButton.setColour (juce::TextButton::buttonOnColourId, juce::Colours::transparentBlack);
    nameButton.setColour (juce::TextButton::textColourOffId, LF::offWhiteBrightColour);
    nameButton.setLookAndFeel (&nameLookAndFeel);
    nameButton.addListener (this);
    nameButton.addMouseListener (this, true);
    addAndMakeVisible (nameButton);

    const auto normal = chevron (LF::offWhiteBrightColour);
    const auto down = chevron (LF::borderColour);

    nextButton = arrowButton ("nextButton", *normal, *down);
    nextButton->addListener (this);
    addAndMakeVisible (*nextButton);

    // The same chevron turned to point left (see resized()).
    prevButton = arrowButton ("prevButton", *normal, *down);
    prevButton->addListener (this);
    addAndMakeVisible (*prevButton);

    rootFolder = audioProcessor.presetFolder;
    userFolder = audioProcessor.userPresetFolder;
    factoryFolder = audioProcessor.factoryPresetFolder;

    refreshMenu();
    showNameFromState();
}

PresetBrowser::~PresetBrowser()
{
    audioProcessor.removeActionListener (this);
    nameButton.setLookAndFeel (nullptr);
}

void PresetBrowser::showNameFromState()
{
    nameButton.setButtonText (
        audioProcessor.parameters.state.getProperty (QexTidewellAudioProcessor::presetDataName).toString());
}

void PresetBrowser::refreshMenu()
{
    presetMenu.clear();
    presetFiles.clear();
    presetCount = 0;

    currentPresetPath =
        audioProcessor.parameters.state.getProperty (QexTidewellAudioProcessor::presetDataPath).toString();

    PresetFolderScan scan (currentPresetPath, listedEntryLimit, { userFolder, factoryFolder });

    juce::PopupMenu userMenu;
    addFilesToMenu (&userMenu, userFolder, scan);
    presetMenu.addSubMenu ("User presets", std::move (userMenu), true);

    scan.liftBound();
    addFilesToMenu (&presetMenu, factoryFolder, scan);

    presetMenu.addSeparator();

    presetMenu.addItem (
        "Load preset",
        [this]
        {
            loadChooser = std::make_unique<juce::FileChooser> ("Select the preset you want to load...",
                                                               juce::File (audioProcessor.userPresetFolder),
                                                               "*" + PresetFile::extension, true, false, nullptr);

            loadChooser->launchAsync (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                                      [this] (const juce::FileChooser& chooser)
                                      {
                                          const auto chosen = chooser.getResult();
                                          if (chosen != juce::File())
                                              loadPresetFile (chosen.getFullPathName());
                                      });
        });

    presetMenu.addItem ("Open preset directory",
                        [this]
                        {
                            if (! DesktopOpener::showFolder (juce::File (rootFolder)))
                                showWarningBox ("No program was found to open the preset directory!");
                        });
}

void PresetBrowser::addFilesToMenu (juce::PopupMenu* menu, juce::String folder, PresetFolderScan& scan)
{
    // The folders being listed, from the given one down to the deepest: a loop over this
    // rather than a call per level, so that a tree as deep as paths may reach does not run
    // the message thread out of stack.
    std::vector<OpenFolder> open;
    open.push_back ({ {}, {}, scan.read (folder.toStdString()) });
    const auto itemsOf = [&open, menu] (OpenFolder& f) -> juce::PopupMenu&
    { return &f == &open.front() ? *menu : f.menu; };

    while (! open.empty())
    {
        auto& folderNow = open.back();
        auto& items = itemsOf (folderNow);

        if (folderNow.next == folderNow.entries.size())
        {
            if (folderNow.presetsLeftOut > 0 || folderNow.foldersLeftOut > 0)
                items.addItem (PresetFolderScan::leftOutNote (folderNow.presetsLeftOut, folderNow.foldersLeftOut),
                               false, false, nullptr);

            auto finished = std::move (folderNow);
            open.pop_back();
            if (! open.empty())
                itemsOf (open.back()).addSubMenu (finished.name, std::move (finished.menu), true);
            continue;
        }

        const auto& entry = folderNow.entries[folderNow.next++];

        if (! scan.lists (entry))
        {
            ++(entry.isFolder ? folderNow.foldersLeftOut : folderNow.presetsLeftOut);
            continue;
        }

        if (entry.isFolder)
        {
            if (scan.entersFirstTime (entry))
                open.push_back ({ {}, entry.name, scan.read (entry.path) }); // folderNow is gone from here on
            else
                items.addSubMenu (entry.name, juce::PopupMenu(), true);
            continue;
        }

        const auto index = presetCount++;
        if (scan.becomesCurrent (entry))
            currentIndex = index + 1;

        const auto file = entry.file();
        items.addItem (entry.name, true, entry.leadsToCurrent,
                       [this, path = file.getFullPathName()] { loadPresetFile (path); });
        presetFiles.add (file);
    }
}

void PresetBrowser::loadPresetFile (const juce::String& path)
{
    if (! audioProcessor.loadPreset (path) && path.isNotEmpty())
        showWarningBox ("The preset could not be loaded!");
}

void PresetBrowser::mouseDown (const juce::MouseEvent& e)
{
    if (e.eventComponent != &nameButton || menuOpen)
        return;

    menuOpen = true;

    presetMenu.showMenuAsync (juce::PopupMenu::Options().withTargetComponent (prevButton.get()).withMinimumWidth (306),
                              [safeThis = juce::Component::SafePointer<PresetBrowser> (this)] (int)
                              {
                                  if (safeThis == nullptr)
                                      return;

                                  safeThis->menuOpen = false;
                                  safeThis->repaint();
                              });
    repaint();
}

void PresetBrowser::paint (juce::Graphics& g)
{
    const auto w = getWidth();
    const auto h = getHeight();

    g.setColour (LF::bgColour);
    g.fillRoundedRectangle (0.0f, 0.0f, (float) w, (float) h, (float) (h * 0.5));

    if (! menuOpen)
        return;

    // Square lower corners and a faint bottom line join the pill to the open menu below.
    g.fillRect (0, (int) (h * 0.5), w, (int) (h * 0.5));
    g.setColour (findColour (juce::PopupMenu::textColourId).withAlpha ((juce::uint8) 0x4c));
    g.fillRect (0, h - 1, w, 1);
}

void PresetBrowser::resized()
{
    const auto w = getWidth();

    nameButton.setBounds (23, 2, w - 46, 24);
    prevButton->setBounds (-2, 1, 22, 30);
    nextButton->setBounds (w - 23, 0, 22, 30);

    // A half turn about the button's middle, (11, 15) in its own coordinates; a component's
    // transform acts in its parent's coordinates, so the pivot is taken there. Turned about
    // its middle the button covers its own bounds, and the menu hangs from them. The turn is
    // a point reflection: a rotation by an approximate pi would leave the corners a hair off
    // whole pixels, and the bounds the menu is placed by would grow a pixel on every side.
    const auto pivot = prevButton->getBounds().toFloat().getCentre();
    prevButton->setTransform (juce::AffineTransform::scale (-1.0f, -1.0f, pivot.x, pivot.y));
}

void PresetBrowser::buttonClicked (juce::Button* button)
{
    const auto n = presetCount;

    if (button == prevButton.get())
        currentIndex = currentIndex > 1 ? currentIndex - 1 : n;
    else if (button == nextButton.get())
        currentIndex = currentIndex < n ? currentIndex + 1 : 1;
    else
        return;

    // Past a list that has shrunk or is empty this is the empty path, which loads nothing.
    const auto k = currentIndex - 1;
    const auto path = juce::isPositiveAndBelow (k, presetFiles.size()) ? presetFiles.getReference (k).getFullPathName()
                                                                       : juce::String();
    loadPresetFile (path);
}

void PresetBrowser::actionListenerCallback (const juce::String& message)
{
    if (message != StatusMessages::presetLoaded && message != StatusMessages::presetSaved
        && message != StatusMessages::stateInformationSet)
        return;

    showNameFromState();
    refreshMenu();
}
