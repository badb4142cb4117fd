#!/usr/bin/env bash
# One command for everything a fresh Debian 12 machine needs:
#   ./build.sh play [game options]   install what is missing, build, start the game
#   ./build.sh test                  install what is missing, build, run every test: the unit and
#                                    scenario tests, the crash harness and fuzz replays, a short
#                                    fuzzing run, and the whole suite again in a sanitizer build
#                                    (QV_TEST_FAST=1 runs only the first of these)
#   ./build.sh bench                 install what is missing, build, run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"

what=${1:-play}
[ $# -gt 0 ] && shift

# Debian packages: compilers and build tools, the libraries behind platform/ and framework/,
# the content tools' inputs (fonts, word list, Vorbis encoder) and the test tools.
packages=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev libvorbisidec-dev libfreetype-dev
  libcairo2-dev libvorbis-dev fonts-dejavu-core wamerican-large
  googletest libgtest-dev libgmock-dev libbenchmark-dev strace clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

build=${QV_BUILD_DIR:-build}
jobs=$(nproc)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"

case "$what" in
  play)  exec "$build/quorvane" "$@" ;;
  test)
    ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
    [ "${QV_TEST_FAST:-0}" = 1 ] && exit 0
    # Every parser fuzzed briefly with libFuzzer in its own clang build.
    bash tests/fuzz/run.sh "$build-fuzz" 10
    # The whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
    cmake -S . -B "$build-asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_SANITIZE=ON \
          -DQV_BUILD_BENCH=OFF >/dev/null
    cmake --build "$build-asan" -j "$jobs"
    ctest --test-dir "$build-asan" --output-on-failure -j "$jobs" "$@"
    ;;
  bench) exec bash bench/run.sh "$build" "$@" ;;
  *)     echo "usage: ./build.sh play|test|bench" >&2; exit 2 ;;
esac
