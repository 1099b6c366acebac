# Shared by ./run and ./test: installs the missing Debian packages, then configures
# and builds into build/. Sourced, not run.
set -euo pipefail

PACKAGES=(build-essential cmake ninja-build googletest libgtest-dev libgmock-dev
          libbenchmark-dev qt6-base-dev qt6-charts-dev libqt6opengl6-dev libsqlite3-dev libgl-dev
          python3 xvfb xauth)

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

build() {
    local dir=${BUILD_DIR:-build}
    # Configured every time: new library and test folders are found by looking.
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}
