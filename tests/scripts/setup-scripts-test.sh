#!/usr/bin/env bash
# Checks the decisions the run and install scripts make, without a display, root or a network.
# Usage: setup-scripts-test.sh <case> [<the built tidewell_display_check>]
set -euo pipefail

scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)"
display_check_program="${2:-}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

standaloneStartsOnlyWithADisplay()
{
    # A stand-in for the Standalone that leaves a mark when started.
    local app="$work/QEX Tidewell"
    printf '#!/bin/sh\ntouch "%s/started"\n' "$work" > "$app"
    chmod +x "$app"

    # Each run sources the run command and uses the display check the build made.
    start() { source "$scripts/run.sh"; display_check="$display_check_program"; start_standalone "$app"; }

    local output
    output="$(unset DISPLAY WAYLAND_DISPLAY; start; echo "still running")" \
        || fail "the run command fails without a display"
    [ ! -e "$work/started" ] || fail "the Standalone was started without a display"
    grep -q "No X11 display" <<< "$output" || fail "no word of the missing display: $output"
    grep -qF "$app" <<< "$output" || fail "the message does not say where the Standalone is: $output"
    grep -q "still running" <<< "$output" || fail "the script stopped instead of going on"

    # A stale DISPLAY, as over SSH once the forwarding is gone: set, but no server answers.
    output="$(unset WAYLAND_DISPLAY; export DISPLAY=:987; start; echo "still running")" \
        || fail "the run command fails when no X server answers"
    [ ! -e "$work/started" ] || fail "the Standalone was started with a display that does not answer"
    grep -q "no X server answers at DISPLAY=:987" <<< "$output" || fail "no word of the silent display: $output"
    grep -q "still running" <<< "$output" || fail "the script stopped instead of going on"

    # A live display; Xvfb stands in for the desktop.
    xvfb-run -a bash -c 'unset WAYLAND_DISPLAY; source "$0/run.sh"; display_check="$1"; start_standalone "$2"' \
        "$scripts" "$display_check_program" "$app" > /dev/null
    [ -e "$work/started" ] || fail "the Standalone was not started with a live X11 display"
    rm "$work/started"

    # A Wayland session without XWayland gives the framework no window to open.
    output="$(unset DISPLAY; export WAYLAND_DISPLAY=wayland-0; start)"
    [ ! -e "$work/started" ] || fail "the Standalone was started with no X11 display"
}

# Sources the install script with stand-ins for apt-get and sudo on PATH and for dpkg-query and
# id: nothing is installed yet, the user is root, and apt answers from files in $work. While the
# number in $work/busy-<command> is above 0, each run of that apt-get command counts it down and
# fails as apt does when another package manager holds its lock, having printed what apt prints
# before it tries the lock.
standInPackageManager()
{
    mkdir "$work/bin"
    printf '#!/bin/sh\nexit 97\n' > "$work/bin/sudo"
    cat > "$work/bin/apt-get" << END
#!/bin/sh
[ "\$1" = -s ] && exec cat "$work/simulation"
busy=\$(cat "$work/busy-\$1" 2> /dev/null || echo 0)
if [ "\$busy" -gt 0 ]; then
    echo \$((busy - 1)) > "$work/busy-\$1"
    [ "\$1" = update ] && echo "Reading package lists..."
    echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (unattended-upgr)" >&2
    echo "E: Unable to acquire the dpkg frontend lock (/var/lib/dpkg/lock-frontend), is another process using it?" >&2
    exit 100
fi
[ "\$1" = update ] && echo "Hit:1 http://stand-in bookworm InRelease"
echo "Reading package lists..."
[ "\$1" = install ] && echo "Setting up fst-dev (0.122.0-1) ..." && touch "$work/installed"
exit 0
END
    chmod +x "$work/bin/apt-get" "$work/bin/sudo"
    PATH="$work/bin:$PATH"

    source "$scripts/install-deps.sh"
    dpkg-query() { return 1; }
    id() { echo 0; }
}

installerRefusesWhatWouldRemoveAPackage()
{
    standInPackageManager

    # Recorded from `apt-get -s install --no-install-recommends ...` on Debian 12.
    cat > "$work/simulation" << 'END'
NOTE: This is only a simulation!
      apt-get needs root privileges for real execution.
Reading package lists...
The following packages will be REMOVED:
  libcurl4-openssl-dev
The following NEW packages will be installed:
  libcurl4-gnutls-dev
0 upgraded, 1 newly installed, 1 to remove and 119 not upgraded.
Remv libcurl4-openssl-dev [7.88.1-10+deb12u15] [juce-modules-source:amd64 ]
Inst libcurl4-gnutls-dev (7.88.1-10+deb12u15 Debian:12.15/oldstable [amd64])
Conf libcurl4-gnutls-dev (7.88.1-10+deb12u15 Debian:12.15/oldstable [amd64])
END
    local output
    ! output="$(main --test 2>&1)" || fail "an install that removes a package went ahead"
    [ ! -e "$work/installed" ] || fail "apt was asked to install after all"
    grep -q "^  libcurl4-openssl-dev$" <<< "$output" || fail "the refusal does not name the package: $output"

    cat > "$work/simulation" << 'END'
Reading package lists...
The following packages were automatically installed and are no longer required:
  libc++1-14 libc++abi1-14 libunwind-14
Use 'apt autoremove' to remove them.
The following NEW packages will be installed:
  fst-dev
0 upgraded, 1 newly installed, 0 to remove and 119 not upgraded.
Inst fst-dev (0.122.0-1 Debian:12.15/oldstable [all])
Conf fst-dev (0.122.0-1 Debian:12.15/oldstable [all])
END
    (main --test) > /dev/null || fail "an install that removes nothing was refused"
    [ -e "$work/installed" ] || fail "nothing was installed"
}

installerWaitsWhileAnotherPackageManagerRuns()
{
    standInPackageManager
    echo "Inst fst-dev (0.122.0-1 Debian:12.15/oldstable [all])" > "$work/simulation"

    # The wait passes at once, and shows where it happened.
    sleep() { SECONDS=$((SECONDS + $1)); echo "(slept)" >&2; }

    # Busy for the first tries of the update and of the install: each wait is told once, before
    # it starts, nothing of apt's shows while it lasts, and its end is told once, before what apt
    # then prints.
    local output
    echo 3 > "$work/busy-update"
    echo 2 > "$work/busy-install"
    output="$(main --test 2>&1)" || fail "the install did not go ahead once the lock was free: $output"
    [ -e "$work/installed" ] || fail "nothing was installed"
    [ "$(grep -c "waiting up to 5 minutes" <<< "$output")" -eq 2 ] || fail "each wait is not told once: $output"
    grep -q "^Another package manager is running (lock /var/lib/dpkg/lock-frontend, held by process 4242 (unattended-upgr))" \
        <<< "$(grep -v "^Reading package lists...$" <<< "$output" | head -n 1)" \
        || fail "the wait is not told at once, with the lock and its holder: $output"
    ! grep -q "^E: " <<< "$output" || fail "apt's complaints about the lock are shown: $output"
    awk '/waiting up to/ { waiting = 1; next }
         /^Lock \/var\/lib\/dpkg\/lock-frontend released; continuing\.$/ { if (!waiting) exit 1; waiting = 0; ended++; next }
         waiting && $0 != "(slept)" { exit 1 }
         END { if (waiting || ended != 2) exit 1 }' <<< "$output" \
        || fail "apt's output shows during a wait, or a wait's end is not told once: $output"
    grep -q "^Setting up fst-dev" <<< "$(tail -n 1 <<< "$output")" || fail "apt's output after the wait is lost: $output"

    # Busy throughout: after five minutes, one line on what to do, and nothing installed.
    rm "$work/installed"
    echo 1000 > "$work/busy-update"
    ! output="$(main --test 2>&1)" || fail "the install went on without the lock"
    [ ! -e "$work/installed" ] || fail "apt was asked to install without the lock"
    [ "$(grep -c "(slept)" <<< "$output")" -eq 60 ] || fail "the wait was not 5 minutes: $output"
    [ "$(grep -c "^Reading package lists...$" <<< "$output")" -eq 1 ] || fail "apt's output is repeated at each try: $output"
    grep -q "^Gave up after 5 minutes: .*held by process 4242 (unattended-upgr); let it finish (or stop it), then run .*install-deps.sh again.$" \
        <<< "$(tail -n 1 <<< "$output")" || fail "the last line does not say what to do: $output"

    # Any other failure ends the install at once, with apt's own words.
    printf '#!/bin/sh\necho "E: Unable to locate package fst-dev" >&2\nexit 100\n' > "$work/bin/apt-get"
    ! output="$(main --test 2>&1)" || fail "a failed update went unnoticed"
    [ "$output" = "E: Unable to locate package fst-dev" ] || fail "not apt's own message alone: $output"
}

"$1"
echo "passed: $1"
