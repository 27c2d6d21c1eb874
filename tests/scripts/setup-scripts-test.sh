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

installerRefusesWhatWouldRemoveAPackage()
{
    # Should a stand-in below not take, the real apt and sudo must still not run.
    mkdir "$work/bin"
    printf '#!/bin/sh\nexit 97\n' > "$work/bin/apt-get"
    cp "$work/bin/apt-get" "$work/bin/sudo"
    chmod +x "$work/bin/apt-get" "$work/bin/sudo"
    PATH="$work/bin:$PATH"

    source "$scripts/install-deps.sh"

    # Stand-ins: nothing is installed yet, and apt answers with a recorded simulation.
    dpkg-query() { return 1; }
    id() { echo 0; }
    apt-get()
    {
        case "$1" in
            update) ;;
            -s) cat "$work/simulation" ;;
            *) touch "$work/installed" ;;
        esac
    }

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

"$1"
echo "passed: $1"
