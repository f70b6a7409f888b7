#!/usr/bin/env bash
# Builds Telquin and either starts it or runs the tests.
#   scripts/telquin.sh run        build and start the program
#   scripts/telquin.sh test       build and run every test (ctest)
#   scripts/telquin.sh test-asan  the same, built with AddressSanitizer and UBSan
#   scripts/telquin.sh test-tsan  the threaded tests built with ThreadSanitizer
#   scripts/telquin.sh fuzz       build the libFuzzer targets with clang, short runs
# Missing Debian packages are installed with apt-get first.
# TELQUIN_WERROR=ON in the environment turns compiler warnings into errors
# (CI sets it).
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
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

configure_build() {  # dir, extra cmake args...; $build_targets (words) limits the build
  local dir=$1; shift
  cmake -S "$top" -B "$dir" -G Ninja -DTELQUIN_WERROR="${TELQUIN_WERROR:-OFF}" "$@" >/dev/null
  # shellcheck disable=SC2086  # one target per word
  cmake --build "$dir" -j "$jobs" ${build_targets:+--target $build_targets}
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
    cd build-test && ctest --output-on-failure --no-tests=error -j "$jobs" --timeout 300
    ;;
  test-asan)
    configure_build build-asan -DTELQUIN_TESTS=ON -DTELQUIN_BENCH=OFF \
      -DTELQUIN_SANITIZE=address,undefined -DCMAKE_BUILD_TYPE=Debug
    cd build-asan
    ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$top/tests/lsan.supp" \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      ctest --output-on-failure --no-tests=error -j "$jobs" --timeout 600
    ;;
  test-tsan)
    # The tests whose code runs on more than one thread: the serial port's
    # event thread, the meter logic on a real port, the threaded timer and
    # the scrolling panel that paints on the timer's worker.
    build_targets="test_serial test_meter test_components" configure_build build-tsan \
      -DTELQUIN_TESTS=ON -DTELQUIN_BENCH=OFF -DTELQUIN_SANITIZE=thread -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cd build-tsan
    export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$top/tests/tsan.supp"
    ctest --output-on-failure --no-tests=error -j "$jobs" --timeout 600 -L '^(test_serial|test_meter)$'
    ctest --output-on-failure --no-tests=error -j "$jobs" --timeout 600 -L '^test_components$' \
      -R '^(ThreadedTimer|SecretPanel)'
    ;;
  fuzz)
    configure_build build-fuzz -DTELQUIN_FUZZ=ON -DTELQUIN_TESTS=OFF -DTELQUIN_BENCH=OFF \
      -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
    secs=${FUZZ_SECONDS:-20}
    for f in build-fuzz/fuzz/fuzz_*; do
      [ -f "$f" ] && [ -x "$f" ] || continue  # skip the AUTOMOC folders
      name=$(basename "$f")
      # libFuzzer adds what it finds to its first corpus folder: work on a copy
      # so the checked-in seeds stay as they are.
      corpus=build-fuzz/corpus/$name
      mkdir -p "$corpus"
      [ -d "fuzz/corpus/$name" ] && cp -n fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
      echo "== $name for ${secs}s"
      "$f" "$corpus" -max_total_time="$secs" -rss_limit_mb=2048 -print_final_stats=1 2>&1 | tail -n 3
    done
    ;;
  *)
    echo "usage: $0 run|test|test-asan|test-tsan|fuzz" >&2; exit 2 ;;
esac
