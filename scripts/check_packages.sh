#!/usr/bin/env bash
# Proves the install list complete: every package whose files the configured build
# uses (CMake package configurations, SQLite's and GoogleTest's headers and
# libraries) must be in the list or pulled in by it without recommends. Fails naming
# the package to add, so a missing install step turns a developer's run red.
# Usage: check_packages.sh BUILD_DIR PACKAGE...
set -euo pipefail
build_dir=$1; shift
cache="$build_dir/CMakeCache.txt"
[ -f "$cache" ] || { echo "check_packages: no $cache"; exit 1; }

used_files() {
    # Package configuration folders CMake found (their Config file), and the SQLite
    # header and library; GoogleTest is found through its configuration folder.
    local dir
    sed -n -E 's/^[A-Za-z0-9_]+_DIR:PATH=(.+)$/\1/p' "$cache" | grep '/cmake/' | while read -r dir; do
        local name; name=$(basename "$dir")
        for f in "$dir/${name}Config.cmake" "$dir/${name,,}-config.cmake"; do
            [ -f "$f" ] && { echo "$f"; continue 2; }
        done
        find "$dir" -maxdepth 1 -type f -name '*onfig.cmake' | head -n 1
    done
    sed -n -E 's/^SQLite3_INCLUDE_DIR:PATH=(.+)$/\1\/sqlite3.h/p; s/^SQLite3_LIBRARY:FILEPATH=(.+)$/\1/p' "$cache"
}

owner_of() {
    dpkg -S "$(readlink -f "$1")" 2>/dev/null | head -n 1 | cut -d: -f1 | cut -d, -f1
}

# The closure of the install list over Depends and Pre-Depends, without recommends.
closure_file="$build_dir/.package-closure"
list_key=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
if [ ! -f "$closure_file" ] || [ "$(head -n 1 "$closure_file")" != "$list_key" ]; then
    {
        echo "$list_key"
        apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
            --no-breaks --no-replaces --no-enhances "$@" 2>/dev/null \
            | sed -n -E 's/^[ |]*(Pre)?Depends: <?([^ >:]+).*$/\2/p; s/^([a-z0-9][^ :]*)$/\1/p' \
            | sort -u
    } > "$closure_file.tmp"
    mv "$closure_file.tmp" "$closure_file"
fi

missing=()
while read -r file; do
    [ -e "$file" ] || continue
    pkg=$(owner_of "$file")
    [ -n "$pkg" ] || continue
    if ! tail -n +2 "$closure_file" | grep -qx -- "$pkg"; then
        missing+=("$pkg (for $file)")
    fi
done < <(used_files | sort -u)

if [ ${#missing[@]} -gt 0 ]; then
    echo "The build uses packages that the install list in scripts/prepare.sh does not install:"
    printf '  %s\n' "${missing[@]}"
    echo "Add them to PACKAGES in scripts/prepare.sh."
    exit 1
fi
