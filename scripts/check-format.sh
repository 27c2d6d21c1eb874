#!/usr/bin/env bash
# Checks that the project's own C++ follows .clang-format; with --fix, reformats it in place.
# Uses Debian's clang-format (14): other versions format some constructs differently.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

if ! command -v clang-format > /dev/null; then
    echo "clang-format is missing: install the Debian package clang-format (scripts/install-deps.sh --test)." >&2
    exit 1
fi

mapfile -t files < <(find processor lookandfeel editor standalone tests bench -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
if [ "${#files[@]}" -eq 0 ]; then
    echo "No C++ files found under $root." >&2
    exit 1
fi

if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    exit 0
fi

unformatted=()
for file in "${files[@]}"; do
    clang-format --dry-run --Werror "$file" > /dev/null 2>&1 || unformatted+=("$file")
done

if [ "${#unformatted[@]}" -gt 0 ]; then
    echo "These files do not follow .clang-format ($(clang-format --version)):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    echo "Run scripts/check-format.sh --fix to reformat them." >&2
    exit 1
fi
echo "All ${#files[@]} C++ files follow .clang-format."
