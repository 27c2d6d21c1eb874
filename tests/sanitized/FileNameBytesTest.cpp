#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string bytesOf (const juce::String& text) { return text.toStdString(); }

std::string repeated (const std::string& bytes, int times)
{
    std::string result;
    for (int i = 0; i < times; ++i)
        result += bytes;
    return result;
}
} // namespace

// Built with AddressSanitizer. The framework builds the names of a directory listing, and the
// values of environment variables, from the bytes alone; none of these is UTF-8.
TEST (FileNameBytes, theFrameworksListingAndEnvironmentKeepTheBytesOnDisk)
{
    const auto temporary = juce::File::getSpecialLocation (juce::File::tempDirectory)
                               .getNonexistentChildFile ("tidewell-names", {}, false);
    const auto folder = bytesOf (temporary.getFullPathName()) + "/Dossier \xe9t\xe9 \xc1\xa9";
    const std::set<std::string> names {
        repeated ("\xc1\xa9", 40) + ".qexp", // over-long pairs: Latin-1 "Á©"
        "nul\xc0\x80 after.qexp",            // the over-long form of the terminating zero
        "caf\xe9.qexp",                      // a Latin-1 letter before ASCII
        "\xc3\xa9\xa9 more.qexp",            // more continuation bytes than the lead announces
        "Sub \xe9t\xe9",                     // a folder
        "last\xe9",                          // a lead byte last
        "last\xf0",
    };

    ASSERT_EQ (::mkdir (bytesOf (temporary.getFullPathName()).c_str(), 0700), 0);
    ASSERT_EQ (::mkdir (folder.c_str(), 0700), 0);
    for (const auto& name : names)
    {
        const auto path = folder + "/" + name;
        if (name.rfind ("Sub", 0) == 0)
            ASSERT_EQ (::mkdir (path.c_str(), 0700), 0);
        else
            ASSERT_EQ (::close (::open (path.c_str(), O_CREAT | O_WRONLY, 0600)), 0);
    }
    const juce::ScopeGuard removeThem { [&temporary] { temporary.deleteRecursively(); } };

    // The folder as the environment names it, read the way the framework reads a variable.
    const ScopedEnvironmentVariable variable ("TIDEWELL_NAMES_TEST", textOfBytes (folder));
    const juce::File listed (juce::SystemStats::getEnvironmentVariable ("TIDEWELL_NAMES_TEST", {}));
    ASSERT_EQ (bytesOf (listed.getFullPathName()), folder);
    EXPECT_EQ (bytesOf (listed.getFileName()), "Dossier \xe9t\xe9 \xc1\xa9");
    EXPECT_EQ (bytesOf (listed.getParentDirectory().getFullPathName()), bytesOf (temporary.getFullPathName()));
    EXPECT_TRUE (listed.isDirectory());

    std::set<std::string> found;
    for (const auto& entry : juce::RangedDirectoryIterator (listed, false, "*", juce::File::findFilesAndDirectories))
    {
        const auto& file = entry.getFile();
        const auto name = bytesOf (file.getFileName());
        found.insert (name);

        EXPECT_EQ (bytesOf (file.getFullPathName()), folder + "/" + name);
        EXPECT_EQ (bytesOf (file.getParentDirectory().getFullPathName()), folder) << name;
        EXPECT_EQ (bytesOf (listed.getChildFile (file.getFileName()).getFullPathName()), folder + "/" + name);
        EXPECT_TRUE (file.exists()) << name;
        EXPECT_EQ (entry.isDirectory(), name.rfind ("Sub", 0) == 0) << name;

        if (file.hasFileExtension (".qexp"))
            EXPECT_EQ (bytesOf (file.getFileNameWithoutExtension()) + ".qexp", name);
    }
    EXPECT_EQ (found, names);

    // A name cut to a number of characters keeps the bytes of those it keeps.
    EXPECT_EQ (bytesOf (textOfBytes (folder + "/").dropLastCharacters (1)), folder);
    EXPECT_EQ (bytesOf (textOfBytes ("caf\xe9/x").substring (0, 4)), "caf\xe9");
}
