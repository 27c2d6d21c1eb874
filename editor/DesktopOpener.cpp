#include "DesktopOpener.h"

#if JUCE_LINUX || JUCE_BSD

#include <cerrno>
#include <string>

#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
/** The opener's full path, or empty when PATH holds none. Relative entries are skipped, so
    nothing is started from whatever folder the host runs in. */
juce::String findOpener()
{
    const auto path = juce::SystemStats::getEnvironmentVariable ("PATH", {});

    for (const auto& folder : juce::StringArray::fromTokens (path, ":", {}))
    {
        const auto candidate = folder + "/xdg-open";

        if (folder.startsWithChar ('/') && juce::File (candidate).existsAsFile()
            && ::access (candidate.toRawUTF8(), X_OK) == 0)
            return candidate;
    }

    return {};
}

/** Starts the opener with target as its one argument. Its parent, a child of ours, exits at
    once and is collected here, so the opener is adopted by the system, which collects it in
    turn; the plug-in neither waits for it nor leaves a finished process behind. */
void startOpener (const juce::String& target)
{
    // Everything the children use is made before the fork: in a program with threads a child
    // may only make calls that are safe after a fork, which a PATH search or an allocation is not.
    const auto opener = findOpener().toStdString();
    auto argument = target.toStdString();

    if (opener.empty())
        return;

    char* const arguments[] = { const_cast<char*> (opener.c_str()), argument.data(), nullptr };
    const auto maxDescriptor = (int) juce::jlimit (3L, 65536L, ::sysconf (_SC_OPEN_MAX));

    const auto child = ::fork();

    if (child == 0)
    {
        if (::fork() == 0)
        {
            // Out of the host's session, and without the host's open files (audio devices,
            // sockets), which the application it starts would otherwise keep open.
            ::setsid();
#ifdef SYS_close_range
            if (::syscall (SYS_close_range, 3U, ~0U, 0U) != 0)
#endif
                for (int descriptor = 3; descriptor < maxDescriptor; ++descriptor)
                    ::close (descriptor);

            ::execv (arguments[0], arguments);
        }

        ::_exit (0);
    }

    if (child > 0)
        while (::waitpid (child, nullptr, 0) < 0 && errno == EINTR)
            continue;
}
} // namespace

void DesktopOpener::openDocument (const juce::File& document) { startOpener (document.getFullPathName()); }

void DesktopOpener::showFolder (const juce::File& folder) { startOpener (folder.getFullPathName()); }

void DesktopOpener::openWebPage (const juce::URL& address) { startOpener (address.toString (true)); }

#else

// Here the framework hands the path to the system's opener, with no shell in between.
void DesktopOpener::openDocument (const juce::File& document) { document.startAsProcess(); }

void DesktopOpener::showFolder (const juce::File& folder) { folder.revealToUser(); }

void DesktopOpener::openWebPage (const juce::URL& address) { address.launchInDefaultBrowser(); }

#endif
