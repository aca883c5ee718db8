#!/usr/bin/env bash
# Installs what VELA needs on Debian 12, builds it, and then either starts it
# on the bundled sample ("run") or runs every test ("test"). Safe to repeat.
set -euo pipefail

mode="${1:-run}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELA_BUILD_DIR:-$here/build}"

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-tools-dev
          libqcustomplot-dev libfreexl-dev libxlsxwriter-dev libminizip-dev
          qt6-image-formats-plugins libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xauth imagemagick python3-segyio python3-xlwt clang-format)

install_packages() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

configure_and_build() {
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$build" --parallel "$(nproc)"
}

case "$mode" in
run)
    install_packages
    configure_and_build -DVELA_BUILD_TESTS=OFF -DVELA_BUILD_BENCH=OFF
    cd "$build/bin"
    exec ./VELA "$here/samples/sample_shot.sg2"
    ;;
test)
    install_packages
    # House formatting: every C++ file as .clang-format says.
    (cd "$here" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror)
    configure_and_build -DVELA_WERROR=ON
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
    # The trace readers take counts and offsets from untrusted files: run the
    # truncation loop once more under AddressSanitizer to catch any stray read.
    asan="$build-asan"
    cmake -S "$here" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELA_ASAN=ON \
        -DVELA_BUILD_BENCH=OFF
    cmake --build "$asan" --parallel "$(nproc)" --target ReaderTruncationTest
    ctest --test-dir "$asan" --output-on-failure -R '^ReaderTruncation'
    ;;
*)
    echo "usage: scripts/setup.sh run|test" >&2
    exit 2
    ;;
esac
