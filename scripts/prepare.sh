# Shared by ./run and ./test: installs the missing Debian packages, then configures
# and builds into build/. Sourced, not run. DRAVOLIN_JOBS bounds the parallel jobs
# of builds and test runs (default: one per core).
set -euo pipefail

# Builds go through ccache where it is installed (CI's clean clones then reuse what an
# earlier build compiled); without it they build the same, only slower. Paths below the
# source folder are hashed relative to it, so another clone hits the same entries.
if command -v ccache >/dev/null 2>&1; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi

PACKAGES=(build-essential cmake ninja-build googletest libgtest-dev libgmock-dev
          libbenchmark-dev qt6-base-dev qt6-charts-dev libqt6opengl6-dev libsqlite3-dev libgl-dev
          python3 xvfb xauth clang libclang-rt-dev)

missing_packages() {
    local p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

install_packages() {
    local missing
    missing=$(missing_packages | tr '\n' ' ')
    [ -z "${missing// /}" ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Some packages are missing. Install them with:"
        echo "  sudo apt-get install -y $missing"
        exit 1
    fi
    echo "Installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing
}

# configure BUILD_DIR [CMAKE_ARGS...]: on failure, one plain line says what to do,
# after CMake's own trace.
configure() {
    local dir=$1; shift
    mkdir -p "$dir"
    if ! cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$dir/configure.log" 2>&1; then
        cat "$dir/configure.log"
        local what
        what=$(grep -o -E 'Could not find a package configuration file provided by "[^"]+"|Could NOT find [A-Za-z0-9_]+' \
               "$dir/configure.log" | head -n 1)
        echo "Configuring failed${what:+ ($what)}: install the missing development package (see PACKAGES in scripts/prepare.sh) and run again."
        exit 1
    fi
    rm -f "$dir/configure.log"
    scripts/check_packages.sh "$dir" "${PACKAGES[@]}"
}

build() {
    local dir=${BUILD_DIR:-build}
    # Configured every time: new library and test folders are found by looking.
    configure "$dir" "$@"
    # BUILD_TARGET names one target to build instead of everything.
    cmake --build "$dir" --parallel "${DRAVOLIN_JOBS:-$(nproc)}" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
}
