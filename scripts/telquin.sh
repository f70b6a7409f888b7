#!/usr/bin/env bash
# Builds Telquin and either starts it or runs the tests.
#   scripts/telquin.sh run        build and start the program
#   scripts/telquin.sh test       build and run every test (ctest)
#   scripts/telquin.sh test-asan  the same, built with AddressSanitizer and UBSan
#   scripts/telquin.sh test-tsan  the threaded timer and scrolling panel tests
#                                 under ThreadSanitizer
#   scripts/telquin.sh fuzz       build the libFuzzer targets with clang, short runs
# Missing Debian packages are installed with apt-get first.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
mode=${1:-run}
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libqcustomplot-dev libqcustomplot2.1-qt6
          libgtest-dev libgmock-dev libbenchmark-dev fontconfig fonts-dejavu-core)
case "$mode" in
  run) packages+=(xvfb xauth) ;;
  fuzz) packages+=(clang libclang-rt-14-dev) ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

configure_build() {  # dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$top" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

case "$mode" in
  run)
    configure_build build -DTELQUIN_TESTS=OFF
    shift || true
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "No display found: starting Telquin under Xvfb (invisible)."
      exec xvfb-run -a build/src/app/telquin "$@"
    fi
    exec build/src/app/telquin "$@"
    ;;
  test)
    configure_build build-test -DTELQUIN_TESTS=ON
    cd build-test && ctest --output-on-failure -j "$jobs" --timeout 300
    ;;
  test-asan)
    configure_build build-asan -DTELQUIN_TESTS=ON -DTELQUIN_BENCH=OFF \
      -DTELQUIN_SANITIZE=address,undefined -DCMAKE_BUILD_TYPE=Debug
    cd build-asan
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      ctest --output-on-failure -j "$jobs" --timeout 600
    ;;
  test-tsan)
    # The tests whose code runs on worker threads of its own. Qt itself is
    # not instrumented, so the sanitizer cannot see the lock of Qt's event
    # queue: these workers hand over to the GUI thread through our own
    # locks and an event counter instead of posting events. (The serial
    # event thread posts its hand-overs, so its tests would report Qt's
    # queue as a race; they run in the AddressSanitizer build.)
    cmake -S "$top" -B build-tsan -G Ninja -DTELQUIN_TESTS=ON -DTELQUIN_BENCH=OFF \
      -DTELQUIN_SANITIZE=thread -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build build-tsan -j "$jobs" --target test_components
    QT_QPA_PLATFORM=offscreen QT_NO_GLIB=1 TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
      build-tsan/tests/test_components --gtest_filter='ThreadedTimer*:SecretPanel*'
    ;;
  fuzz)
    configure_build build-fuzz -DTELQUIN_FUZZ=ON -DTELQUIN_TESTS=OFF -DTELQUIN_BENCH=OFF \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
    secs=${FUZZ_SECONDS:-20}
    for f in build-fuzz/fuzz/fuzz_*; do
      [ -f "$f" ] && [ -x "$f" ] || continue  # skip the AUTOMOC folders
      echo "== $(basename "$f") for ${secs}s"
      "$f" -max_total_time="$secs" -rss_limit_mb=2048 -print_final_stats=1 2>&1 | tail -n 3
    done
    ;;
  *)
    echo "usage: $0 run|test|test-asan|test-tsan|fuzz" >&2; exit 2 ;;
esac
