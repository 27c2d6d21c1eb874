#include "PresetBrowser.h"

#include "DesktopOpener.h"
#include "WarningBox.h"
#include "processor/StatusMessages.h"

#include <algorithm>
#include <limits>
#include <vector>

#if ! JUCE_WINDOWS
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace
{
using LF = LookAndFeelCustom;

// Finder lists folders among files; elsewhere file browsers put folders first.
#if JUCE_MAC
constexpr bool foldersFirst = false;
#else
constexpr bool foldersFirst = true;
#endif

/** What tells a folder apart however it is reached: its device and node where there are such. */
juce::String folderIdentity (const juce::File& folder)
{
    const auto path = folder.getFullPathName();
#if ! JUCE_WINDOWS
    struct stat status;
    if (::stat (path.toRawUTF8(), &status) == 0)
        return juce::String ((juce::uint64) status.st_dev) + ":" + juce::String ((juce::uint64) status.st_ino);
#endif
    return path;
}

/** A child of a preset folder that the menu may list: a sub-folder or a preset. */
struct FolderEntry
{
    juce::File file;
    juce::String sortKey; // the separator and the name: see readFolder
    bool isFolder = false;
};

/** A folder whose menu is being filled, with its entries in menu order and what of them is
    done, listed or left out. */
struct OpenFolder
{
    juce::PopupMenu menu;
    juce::String name;
    std::vector<FolderEntry> entries;
    size_t next = 0;
    int presetsLeftOut = 0;
    int foldersLeftOut = 0;
};

/** folder's sub-folders and presets, hidden ones included, in menu order: folders first where
    that is the custom, then the natural order of full paths, which within one folder is that
    of the names after the separator. Sorting on the names, with whether each is a folder read
    once, spares a file-system call per comparison and a walk along the common path. Case is
    ignored, as the framework's file comparator ignores it. */
std::vector<FolderEntry> readFolder (const juce::File& folder)
{
    std::vector<FolderEntry> entries;
    const auto path = folder.getFullPathName();

    // A name from the directory is one plain path element: the path needs no checking.
    const auto add = [&entries, &path] (const juce::String& name, bool isFolder)
    {
        if (! isFolder && ! name.endsWith (PresetFile::extension))
            return;
        auto sortKey = juce::File::getSeparatorString() + name;
        entries.push_back (
            { juce::File::createFileWithoutCheckingPath (path + sortKey), std::move (sortKey), isFolder });
    };

#if JUCE_WINDOWS
    for (const auto& child : juce::RangedDirectoryIterator (folder, false, "*", juce::File::findFilesAndDirectories))
        add (child.getFile().getFileName(), child.isDirectory());
#else
    // The entry types the directory gives spare a status call for each preset; only a link,
    // or an entry of a file system that gives no type, is asked whether it leads to a folder.
    auto* const directory = ::opendir (path.toRawUTF8());
    if (directory == nullptr)
        return entries;

    while (const auto* child = ::readdir (directory))
    {
        const juce::String name (juce::CharPointer_UTF8 (child->d_name));
        if (name.containsOnly ("."))
            continue;

        auto isFolder = child->d_type == DT_DIR;
        if (child->d_type == DT_LNK || child->d_type == DT_UNKNOWN)
        {
            struct stat status;
            isFolder = ::stat ((path + "/" + name).toRawUTF8(), &status) == 0 && S_ISDIR (status.st_mode);
        }
        add (name, isFolder);
    }
    ::closedir (directory);
#endif

    std::sort (entries.begin(), entries.end(),
               [] (const FolderEntry& a, const FolderEntry& b)
               {
                   if (foldersFirst && a.isFolder != b.isFolder)
                       return a.isFolder;

                   // Names the natural order holds equal (spaces apart) keep one order however
                   // the file system returns them.
                   const auto order = a.sortKey.compareNatural (b.sortKey, false);
                   return order != 0 ? order < 0 : a.sortKey < b.sortKey;
               });
    return entries;
}

/** n with its thousands separated: 1,234. */
juce::String withThousandsSeparated (int n)
{
    auto text = juce::String (n);
    for (auto i = text.length() - 3; i > 0; i -= 3)
        text = text.substring (0, i) + "," + text.substring (i);
    return text;
}

/** What a folder's menu says of the presets and sub-folders it leaves out. */
juce::String leftOutNote (int presets, int folders)
{
    const auto count = [] (int n, const char* one, const char* many)
    { return withThousandsSeparated (n) + " " + (n == 1 ? one : many); };

    if (folders == 0)
        return count (presets, "more preset", "more presets") + " not listed";
    if (presets == 0)
        return count (folders, "more folder", "more folders") + " not listed";
    return count (presets, "more preset", "more presets") + " and " + count (folders, "folder", "folders")
           + " not listed";
}

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

    // Each real folder is listed once per scan however many links lead to it, so the scan
    // costs what is on disk, not the number of paths through it. The two preset folders are
    // listed in their own places only.
    listedFolders = { folderIdentity (juce::File (userFolder)), folderIdentity (juce::File (factoryFolder)) };
    entriesLeft = listedEntryLimit;

    juce::PopupMenu userMenu;
    addFilesToMenu (&userMenu, userFolder);
    presetMenu.addSubMenu ("User presets", std::move (userMenu), true);

    // The factory presets are the product's own, a known few: always listed in full.
    entriesLeft = std::numeric_limits<int>::max();
    addFilesToMenu (&presetMenu, factoryFolder);

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

void PresetBrowser::addFilesToMenu (juce::PopupMenu* menu, juce::String folder)
{
    // The folders being listed, from the given one down to the deepest: a loop over this
    // rather than a call per level, so that a tree as deep as paths may reach does not run
    // the message thread out of stack.
    std::vector<OpenFolder> open;
    open.push_back ({ {}, {}, readFolder (juce::File (juce::File::addTrailingSeparator (folder))) });
    const auto itemsOf = [&open, menu] (OpenFolder& f) -> juce::PopupMenu&
    { return &f == &open.front() ? *menu : f.menu; };

    while (! open.empty())
    {
        auto& folderNow = open.back();
        auto& items = itemsOf (folderNow);

        if (folderNow.next == folderNow.entries.size())
        {
            if (folderNow.presetsLeftOut > 0 || folderNow.foldersLeftOut > 0)
                items.addItem (leftOutNote (folderNow.presetsLeftOut, folderNow.foldersLeftOut), false, false, nullptr);

            auto finished = std::move (folderNow);
            open.pop_back();
            if (! open.empty())
                itemsOf (open.back()).addSubMenu (finished.name, std::move (finished.menu), true);
            continue;
        }

        const auto& entry = folderNow.entries[folderNow.next++];
        const auto& path = entry.file.getFullPathName();
        const auto leadsToCurrent = entry.isFolder
                                        ? currentPresetPath.startsWith (path + juce::File::getSeparatorString())
                                        : path == currentPresetPath;

        if (entriesLeft <= 0 && ! leadsToCurrent)
        {
            ++(entry.isFolder ? folderNow.foldersLeftOut : folderNow.presetsLeftOut);
            continue;
        }

        if (entriesLeft > 0)
            --entriesLeft;

        if (entry.isFolder)
        {
            const auto name = entry.file.getFileName();
            if (listedFolders.insert (folderIdentity (entry.file)).second)
                open.push_back ({ {}, name, readFolder (entry.file) }); // folderNow is gone from here on
            else
                items.addSubMenu (name, juce::PopupMenu(), true);
            continue;
        }

        const auto index = presetCount++;
        if (leadsToCurrent)
            currentIndex = index + 1;

        items.addItem (entry.file.getFileNameWithoutExtension(), true, leadsToCurrent,
                       [this, path] { loadPresetFile (path); });
        presetFiles.add (entry.file);
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
