#!/usr/bin/env bash
# Keeps every C++ file of the tree as the project's .clang-format lays it out.
#   scripts/format.sh          reformats the files that differ, in place
#   scripts/format.sh --check  changes nothing; lists the files that differ and fails if any do
set -euo pipefail
cd "$(dirname "$0")/.."

formatter=clang-format-14
command -v "$formatter" >/dev/null 2>&1 || formatter=clang-format
if ! command -v "$formatter" >/dev/null 2>&1; then
    echo "format: clang-format is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi

mapfile -d '' files < <(find src tests bench fuzz examples -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

if [ "${1:-}" = --check ]; then
    # One run over every file: it names each place that differs as "file:line:column: ...".
    mapfile -t differ < <("$formatter" --dry-run "${files[@]}" 2>&1 | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: .*/\1/p' | sort -u)
    if [ ${#differ[@]} -gt 0 ]; then
        echo "These files differ from .clang-format (scripts/format.sh mends them):" >&2
        printf '  %s\n' "${differ[@]}" >&2
        exit 1
    fi
    echo "${#files[@]} files formatted as .clang-format says"
else
    "$formatter" -i "${files[@]}"
fi
