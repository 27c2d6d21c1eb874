#pragma once

#include <juce_core/juce_core.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

/** One walk of the preset folders for the menu, made by each refresh.

    Each real folder is read once however many links lead to it, so the walk costs what is on
    disk, not the number of paths through it. A folder that lies in the walked tree is listed at
    its own path, and a link to it is listed empty, so that a user's own folder never looks empty
    because a link to it sorts first; a folder outside the tree is listed where a link leads to it.
    What it lists is bounded, except the current preset and the folders that lead to it. The
    current preset is told by the file it is, not only by its path, so a preset loaded through a
    link, or through a folder the menu lists under another name, is still the one ticked and
    stepped from.

    Paths are kept as the bytes the file system gives, so that a preset loads whatever its name
    holds; names are shown as StrictUtf8::decode reads them. */
class PresetFolderScan
{
public:
    /** A sub-folder or preset of a folder. */
    struct Entry
    {
        std::string path;     // the bytes of its full path
        juce::String name;    // as shown: decoded, and a preset's without its extension
        juce::String sortKey; // the name after a separator, as a full path compares it
        bool isFolder = false;

        /** A preset: it is the current preset's file. A folder: that file lies within it. */
        bool leadsToCurrent = false;

        /** A folder: its device and node, which tell it apart however it is reached. */
        std::pair<dev_t, ino_t> identity {};

        /** A folder: a link to a folder that the walk lists at its own path. */
        bool linksIntoTree = false;

        /** A preset's file, at the bytes of its path. */
        juce::File file() const;
    };

    /** listedElsewhere: the folders the walk starts from (the preset folders), which are listed
        in their own places, and so are not listed again where a link leads to them. */
    PresetFolderScan (const juce::String& currentPresetPath, int entryLimit, const juce::StringArray& listedElsewhere);

    /** folder's sub-folders and presets, hidden ones included, in menu order: folders first where
        that is the custom, then the natural order of the names, case ignored. */
    std::vector<Entry> read (const std::string& folder) const;

    /** Whether entry is listed: it leads to the current preset, or takes one of the places the
        bound has left. */
    bool lists (const Entry& entry);

    /** Whether a listed folder is reached for the first time in this walk at the path it is
        listed under: only then are its contents listed. */
    bool entersFirstTime (const Entry& folder);

    /** Whether the arrows step from this listed preset: the one listed under the current
        preset's own path, or else the first that is its file. */
    bool becomesCurrent (const Entry& preset);

    /** Lists everything from here on: the factory presets are the product's own, a known few. */
    void liftBound();

    /** What a folder's menu says of the presets and sub-folders it leaves out. */
    static juce::String leftOutNote (int presets, int folders);

private:
    using Identity = std::pair<dev_t, ino_t>;

    /** Whether a real path lies in the walked tree: it is, or lies below, a folder the walk
        starts from. */
    bool liesInTree (const std::string& realPath) const;

    std::string currentPath;
    bool currentExists = false;
    Identity currentFile {};
    std::set<std::string> currentFileNames; // as the path names it and as it is on disk
    std::set<Identity> foldersToCurrent;

    std::vector<std::string> treeRoots; // the real paths of the folders the walk starts from
    std::set<Identity> visitedFolders;
    int entriesLeft;
    enum class Found
    {
        nothing,
        sameFile,
        samePath
    } currentFound = Found::nothing;
};
