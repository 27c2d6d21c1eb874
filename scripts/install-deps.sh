#!/usr/bin/env bash
# Installs the Debian packages needed to build and run the plug-in; with --test, also those the
# test suite needs. Refuses, rather than let apt remove a package the machine already has.
set -euo pipefail

# What the build uses. juce-modules-source brings JUCE's CMake support with juceaide and the LV2
# helper, its own LV2 headers, and pulls in the ALSA, freetype and X11 headers its modules include;
# patch applies the build's fix to its copy of the modules. xdg-utils is the desktop's opener, to
# which the editor hands the user guide, the preset folder and the web site.
run_packages=(
  build-essential cmake ninja-build pkg-config ccache patch
  juce-modules-source
  libasound2-dev libfreetype-dev
  libx11-dev libxcursor-dev libxext-dev libxinerama-dev libxrandr-dev libxrender-dev
  xdg-utils
)

# GoogleTest and Google Benchmark, clang with its sanitizer and libFuzzer runtimes, an X server
# without a screen for the editor tests, and the formatter the test command checks with.
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  xvfb xauth
  clang-format
)

# Reads the output of `apt-get -s install ...` and prints each package it would remove.
packages_removed_by() { awk '$1 == "Remv" || $1 == "Purg" { print $2 }'; }

# How long to wait for another package manager, such as the unattended upgrade that runs after a
# desktop starts, to let go of the locks apt needs.
lock_wait_seconds=300

# Runs apt-get as root ($sudo) with the given arguments. While another package manager holds one
# of apt's or dpkg's locks, says so at once, tries again every few seconds, for lock_wait_seconds
# at most, and says when the lock is free again; apt's other messages are shown once it has run.
# apt's DPkg::Lock::Timeout would not do: it covers dpkg's lock only, not the lock on the package
# lists that `apt-get update` takes, nor the one on the download cache. apt speaks English here, so
# that a held lock is told from other failures; the front end is named here because sudo does not
# pass the environment on.
apt_get_when_free()
{
  local tmp status lock waited_for="" waiting_since=""
  tmp="$(mktemp -d)"
  while :; do
    status=0
    rm -f "$tmp/held" "$tmp/released"
    if [ -z "$waiting_since" ]; then
      $sudo env LC_ALL=C DEBIAN_FRONTEND=noninteractive apt-get "$@" 2> "$tmp/errors" || status=$?
    else
      $sudo env LC_ALL=C DEBIAN_FRONTEND=noninteractive apt-get "$@" 2> "$tmp/errors" \
        | pass_on_past_the_lock "$tmp" "$waited_for" || status=$?
    fi
    lock="$(sed -n 's/^E: Could not get lock //; T; s/\. It is held by /, held by /; p' "$tmp/errors" | head -n 1)"

    if [ "$status" -eq 0 ] || [ -z "$lock" ]; then
      if [ -n "$waiting_since" ] && [ ! -e "$tmp/released" ]; then
        tell_lock_released "$tmp" "$waited_for"
      fi
      cat "$tmp/errors" >&2
      rm -rf "$tmp"
      return "$status"
    fi

    # A try that got past the lock waited for and then found another one held starts a new wait.
    if [ -z "$waiting_since" ] || [ -e "$tmp/released" ]; then
      waiting_since=$SECONDS
      waited_for="$lock"
      echo "Another package manager is running (lock $lock); waiting up to $((lock_wait_seconds / 60)) minutes for it to finish..." >&2
    elif [ $((SECONDS - waiting_since)) -ge "$lock_wait_seconds" ]; then
      rm -rf "$tmp"
      echo "Gave up after $((lock_wait_seconds / 60)) minutes: another package manager still holds lock $lock; let it finish (or stop it), then run ${BASH_SOURCE[0]} again." >&2
      return 1
    fi
    sleep 5
  done
}

# Passes on apt's output during a wait for the lock $2 (as apt names it). The lines apt prints
# before it tries its locks are held back in $1/held, so that a try that finds the lock still held
# shows nothing; the first other line means that apt got past the lock.
pass_on_past_the_lock()
{
  local line
  while IFS= read -r line || [ -n "$line" ]; do
    if [ ! -e "$1/released" ]; then
      case "$line" in
        "Reading package lists..."* | "Building dependency tree..."* | "Reading state information..."*)
          printf '%s\n' "$line" >> "$1/held"
          continue
          ;;
      esac
      tell_lock_released "$1" "$2"
    fi
    printf '%s\n' "$line"
  done
}

# Says that the wait for the lock $2 is over, then shows what apt printed meanwhile ($1/held).
tell_lock_released()
{
  echo "Lock ${2%%, held by *} released; continuing." >&2
  touch "$1/released"
  if [ -e "$1/held" ]; then cat "$1/held"; fi
}

main()
{
  local packages=("${run_packages[@]}")
  case "${1:-}" in
    "") ;;
    --test) packages+=("${test_packages[@]}") ;;
    *) echo "usage: $0 [--test]" >&2; exit 2 ;;
  esac

  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ "${#missing[@]}" -gt 0 ] || return 0

  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  apt_get_when_free update || exit

  local simulation removed
  simulation="$(apt-get -s install --no-install-recommends "${missing[@]}")"
  removed="$(packages_removed_by <<< "$simulation")"
  if [ -n "$removed" ]; then
    echo "Not installing ${missing[*]}: apt would remove these installed packages:" >&2
    sed 's/^/  /' <<< "$removed" >&2
    echo "Install the missing packages by hand once you have decided what to do about those." >&2
    exit 1
  fi

  # --no-remove holds even if the package lists changed since the simulation.
  apt_get_when_free install -y --no-install-recommends --no-remove "${missing[@]}"
}

# Sourced by the tests for packages_removed_by; run, it installs.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  main "$@"
fi
