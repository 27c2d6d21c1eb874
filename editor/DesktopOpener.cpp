#include "DesktopOpener.h"

#if JUCE_LINUX

#include <juce_events/juce_events.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <spawn.h>
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

/** Collects the openers started here once they end, polling from a message-thread timer, so
    that the editor never waits and none stays behind as a finished process.

    It goes when the framework shuts down, which happens before the plug-in can be unloaded, so
    no timer calls into unloaded code. Openers still running then (a viewer left open, say) are
    waited for on a thread of their own, for which the plug-in's code is kept loaded until the
    host exits: a thread left running in code that the host unloads would crash it. */
class OpenerReaper final : private juce::Timer, private juce::DeletedAtShutdown
{
public:
    static void collect (pid_t child)
    {
        if (instance == nullptr)
            instance = new OpenerReaper();

        instance->running.push_back (child);

        if (! instance->isTimerRunning())
            instance->startTimer (pollMilliseconds);
    }

    ~OpenerReaper() override
    {
        stopTimer();
        collectEnded();

        if (! running.empty() && keepCodeLoaded())
        {
            try
            {
                std::thread ([left = running] { waitForAll (left); }).detach();
            }
            catch (...)
            {
            }
        }

        instance = nullptr;
    }

private:
    static constexpr int pollMilliseconds = 250;

    void timerCallback() override
    {
        collectEnded();

        if (running.empty())
            stopTimer();
    }

    /** Also drops a child that is no longer ours to collect, as when the host collects every
        child itself. */
    void collectEnded()
    {
        const auto ended = [] (pid_t child)
        {
            auto result = ::waitpid (child, nullptr, WNOHANG);
            while (result < 0 && errno == EINTR)
                result = ::waitpid (child, nullptr, WNOHANG);
            return result != 0;
        };

        running.erase (std::remove_if (running.begin(), running.end(), ended), running.end());
    }

    static void waitForAll (const std::vector<pid_t>& children)
    {
        for (const auto child : children)
            while (::waitpid (child, nullptr, 0) < 0 && errno == EINTR)
                continue;
    }

    /** Keeps the module holding this code mapped whatever the host unloads. Fails for the
        program itself (a Standalone), which no one unloads. */
    static bool keepCodeLoaded()
    {
        Dl_info module {};
        return ::dladdr (reinterpret_cast<const void*> (&OpenerReaper::keepCodeLoaded), &module) != 0
               && module.dli_fname != nullptr
               && ::dlopen (module.dli_fname, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
    }

    inline static OpenerReaper* instance = nullptr;
    std::vector<pid_t> running;
};

/** How the opener is started: in a session of its own, out of reach of the host's terminal and
    process group; with every signal at its default and none blocked, since a host that ignores
    SIGPIPE or SIGQUIT, or blocks a signal, would otherwise pass that on to the viewer or browser;
    and without the host's open files (audio devices, sockets), which the application it starts
    would otherwise keep open. posix_spawn does all of this in the child without a fork of the
    host, whose other threads may hold locks that a forked child could never take. */
class SpawnSettings
{
public:
    SpawnSettings()
    {
        sigset_t none, all;
        sigemptyset (&none);
        // Not sigfillset: it leaves out the C library's two internal signals, which the child
        // would then start with ignored and pass on ignored to the program it runs.
        std::memset (&all, 0xff, sizeof (all));
        const auto flags = POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;

        ready = ::posix_spawnattr_init (&attributes) == 0 && ::posix_spawn_file_actions_init (&fileActions) == 0
                && ::posix_spawnattr_setflags (&attributes, (short) flags) == 0
                && ::posix_spawnattr_setsigmask (&attributes, &none) == 0
                && ::posix_spawnattr_setsigdefault (&attributes, &all) == 0
                && ::posix_spawn_file_actions_addclosefrom_np (&fileActions, 3) == 0;
    }

    ~SpawnSettings()
    {
        ::posix_spawn_file_actions_destroy (&fileActions);
        ::posix_spawnattr_destroy (&attributes);
    }

    /** The started child, or 0 when it could not be started. */
    pid_t spawn (const std::string& program, char* const* arguments) const
    {
        pid_t child = 0;
        if (! ready || ::posix_spawn (&child, program.c_str(), &fileActions, &attributes, arguments, environ) != 0)
            return 0;
        return child;
    }

private:
    posix_spawnattr_t attributes {};
    posix_spawn_file_actions_t fileActions {};
    bool ready = false;

    JUCE_DECLARE_NON_COPYABLE (SpawnSettings)
};

bool startOpener (const juce::String& target)
{
    const auto opener = findOpener().toStdString();

    if (opener.empty())
        return false;

    auto argument = target.toStdString();
    char* const arguments[] = { const_cast<char*> (opener.c_str()), argument.data(), nullptr };
    const auto child = SpawnSettings().spawn (opener, arguments);

    if (child <= 0)
        return false;

    OpenerReaper::collect (child);
    return true;
}
} // namespace

bool DesktopOpener::openDocument (const juce::File& document) { return startOpener (document.getFullPathName()); }

bool DesktopOpener::showFolder (const juce::File& folder) { return startOpener (folder.getFullPathName()); }

bool DesktopOpener::openWebPage (const juce::URL& address) { return startOpener (address.toString (true)); }

#else

bool DesktopOpener::openDocument (const juce::File& document) { return document.startAsProcess(); }

// The framework does not say whether the folder could be shown.
bool DesktopOpener::showFolder (const juce::File& folder)
{
    folder.revealToUser();
    return true;
}

bool DesktopOpener::openWebPage (const juce::URL& address) { return address.launchInDefaultBrowser(); }

#endif
