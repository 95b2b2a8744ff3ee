#!/usr/bin/env bash
# Installs what is missing, builds Fumi, then starts it ("run") or runs every
# test ("test"). Safe to run again: nothing is reinstalled, the build is incremental.
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "$0")/.." && pwd)
build=${FUMI_BUILD_DIR:-$top/build}

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libqt6svg6 qt6-image-formats-plugins adwaita-icon-theme
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk
  libzip-dev libicu-dev libjemalloc-dev opensp w3c-sgml-lib
  libreoffice-writer-nogui libreoffice-draw-nogui
  cups printer-driver-cups-pdf poppler-utils
)
# The fuzz run of the test mode: clang with its libFuzzer and sanitizer runtimes.
[ "$mode" = test ] && packages+=(clang libclang-rt-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --parallel "$(nproc)"

case "$mode" in
  run)
    exec "$build/app/fumi" "${@:2}"
    ;;
  test)
    # Fuzzing, the tests, then the tests again under the sanitizers; each runs
    # even when the one before failed, and the run fails if any of them failed.
    failed=0
    "$top/scripts/fuzz.sh" 20 || failed=1
    (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 600) || failed=1
    "$top/scripts/sanitize.sh" || failed=1
    exit $failed
    ;;
  *)
    echo "usage: $0 [run|test]" >&2
    exit 2
    ;;
esac
