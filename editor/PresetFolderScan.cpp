#include "PresetFolderScan.h"

#include "processor/state/PresetFile.h"
#include "processor/state/StrictUtf8.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace
{
// Finder lists folders among files; elsewhere file browsers put folders first.
#if JUCE_MAC
constexpr bool foldersFirst = false;
#else
constexpr bool foldersFirst = true;
#endif

std::pair<dev_t, ino_t> identityOf (const struct stat& status) { return { status.st_dev, status.st_ino }; }

/** The path with every link resolved, or nothing when it does not lead anywhere. */
std::string realPathOf (const std::string& path)
{
    auto* const resolved = ::realpath (path.c_str(), nullptr);
    if (resolved == nullptr)
        return {};

    std::string realPath (resolved);
    std::free (resolved);
    return realPath;
}

std::string lastNameIn (const std::string& path)
{
    const auto slash = path.rfind ('/');
    return slash == std::string::npos ? path : path.substr (slash + 1);
}

/** Whether the directory entry is a symbolic link. */
bool isLink (int directory, const struct dirent* entry)
{
    if (entry->d_type != DT_UNKNOWN)
        return entry->d_type == DT_LNK;

    struct stat status;
    return ::fstatat (directory, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK (status.st_mode);
}

/** n with its thousands separated: 1,234. */
juce::String withThousandsSeparated (int n)
{
    auto text = juce::String (n);
    for (auto i = text.length() - 3; i > 0; i -= 3)
        text = text.substring (0, i) + "," + text.substring (i);
    return text;
}
} // namespace

juce::File PresetFolderScan::Entry::file() const
{
    // Given both ends, the framework copies the bytes as they are.
    return juce::File::createFileWithoutCheckingPath (
        juce::String (juce::CharPointer_UTF8 (path.data()), juce::CharPointer_UTF8 (path.data() + path.size())));
}

PresetFolderScan::PresetFolderScan (const juce::String& currentPresetPath, int entryLimit,
                                    const juce::StringArray& listedElsewhere)
    : currentPath (currentPresetPath.toRawUTF8()),
      entriesLeft (entryLimit)
{
    struct stat status;

    for (const auto& folder : listedElsewhere)
    {
        if (::stat (folder.toRawUTF8(), &status) == 0)
            visitedFolders.insert (identityOf (status));
        if (auto root = realPathOf (folder.toRawUTF8()); ! root.empty())
            treeRoots.push_back (std::move (root));
    }

    // Where the current preset really lies, so that whichever path the walk takes to it, its
    // file and the folders above it are known.
    const auto realPath = currentPath.empty() ? std::string() : realPathOf (currentPath);
    if (realPath.empty() || ::stat (realPath.c_str(), &status) != 0 || ! S_ISREG (status.st_mode))
        return;

    currentExists = true;
    currentFile = identityOf (status);
    currentFileNames = { lastNameIn (currentPath), lastNameIn (realPath) };

    for (auto slash = realPath.rfind ('/'); slash != std::string::npos && slash > 0;
         slash = realPath.rfind ('/', slash - 1))
        if (::stat (realPath.substr (0, slash).c_str(), &status) == 0)
            foldersToCurrent.insert (identityOf (status));
}

std::vector<PresetFolderScan::Entry> PresetFolderScan::read (const std::string& folder) const
{
    std::vector<Entry> entries;

    auto* const directory = ::opendir (folder.c_str());
    if (directory == nullptr)
        return entries;

    const auto extension = PresetFile::extension.toStdString();
    const auto prefix = folder.back() == '/' ? folder : folder + '/';

    while (const auto* child = ::readdir (directory))
    {
        const std::string name (child->d_name);
        if (name == "." || name == "..")
            continue;

        const auto isPresetName = name.size() >= extension.size()
                                  && name.compare (name.size() - extension.size(), extension.size(), extension) == 0;

        // The entry types the directory gives spare a status call for each preset. Folders are
        // asked for what tells them apart; links, and entries of a file system that gives no
        // type, for what they lead to; a preset only when its node or name may be the current
        // preset's.
        const auto type = child->d_type;
        const auto mayBeCurrent =
            currentExists && (child->d_ino == currentFile.second || currentFileNames.count (name) > 0);
        const auto needsStatus =
            type == DT_DIR || type == DT_LNK || type == DT_UNKNOWN || (isPresetName && mayBeCurrent);

        struct stat status;
        const auto hasStatus = needsStatus && ::fstatat (::dirfd (directory), child->d_name, &status, 0) == 0;
        const auto isFolder = hasStatus && S_ISDIR (status.st_mode);

        if (! isFolder && (! isPresetName || type == DT_DIR))
            continue;

        Entry entry;
        entry.path = prefix + name;
        entry.isFolder = isFolder;

        if (isFolder)
        {
            entry.identity = identityOf (status);
            entry.linksIntoTree = isLink (::dirfd (directory), child) && liesInTree (realPathOf (entry.path));
            entry.leadsToCurrent = foldersToCurrent.count (entry.identity) > 0;
            entry.name = StrictUtf8::decode (name.data(), name.size());
        }
        else
        {
            entry.leadsToCurrent =
                entry.path == currentPath || (hasStatus && currentExists && identityOf (status) == currentFile);
            // A preset named only by the extension keeps it, as the framework's name helpers do.
            const auto shownBytes = name.size() > extension.size() ? name.size() - extension.size() : name.size();
            entry.name = StrictUtf8::decode (name.data(), shownBytes);
        }

        entry.sortKey = juce::File::getSeparatorString() + entry.name;
        entries.push_back (std::move (entry));
    }

    ::closedir (directory);

    std::sort (entries.begin(), entries.end(),
               [] (const Entry& a, const Entry& b)
               {
                   if (foldersFirst && a.isFolder != b.isFolder)
                       return a.isFolder;

                   // Names the natural order holds equal (spaces or the spelling of a letter
                   // apart) keep one order however the file system returns them.
                   const auto order = a.sortKey.compareNatural (b.sortKey, false);
                   return order != 0 ? order < 0 : a.path < b.path;
               });
    return entries;
}

bool PresetFolderScan::lists (const Entry& entry)
{
    if (entriesLeft > 0)
    {
        --entriesLeft;
        return true;
    }

    return entry.leadsToCurrent;
}

bool PresetFolderScan::entersFirstTime (const Entry& folder)
{
    return ! folder.linksIntoTree && visitedFolders.insert (folder.identity).second;
}

bool PresetFolderScan::liesInTree (const std::string& realPath) const
{
    // Real paths hold no link, so one below a root is reached from it through real folders.
    return std::any_of (treeRoots.begin(), treeRoots.end(),
                        [&realPath] (const std::string& root)
                        {
                            const auto within = root == "/" ? std::string ("/") : root + '/';
                            return realPath == root || realPath.compare (0, within.size(), within) == 0;
                        });
}

bool PresetFolderScan::becomesCurrent (const Entry& preset)
{
    const auto found = preset.path == currentPath ? Found::samePath
                       : preset.leadsToCurrent    ? Found::sameFile
                                                  : Found::nothing;
    if (found <= currentFound)
        return false;

    currentFound = found;
    return true;
}

void PresetFolderScan::liftBound() { entriesLeft = std::numeric_limits<int>::max(); }

juce::String PresetFolderScan::leftOutNote (int presets, int folders)
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
