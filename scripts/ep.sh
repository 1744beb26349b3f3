#!/usr/bin/env bash
# Installs what is missing, builds, then runs the console (run) or every test (test).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
MODE=${1:-run}

PACKAGES=(g++ cmake make pkg-config qtbase5-dev qtbase5-dev-tools libqt5charts5-dev
          libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev
          fonts-wqy-microhei xvfb xauth clang libclang-rt-14-dev llvm-14)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

JOBS=${JOBS:-$(nproc)}
build() { # dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$JOBS" ${TARGET:+--target "$TARGET"}
}

FUZZ_SECONDS=${FUZZ_SECONDS:-60}
# Runs every fuzz target side by side for FUZZ_SECONDS from the committed seed corpus;
# fails on any crash, leak, timeout or sanitizer report (the input is kept and named).
fuzz() {
  local dir=$ROOT/build-fuzz/fuzz failed=0 pids=() names=()
  local out; out=$(mktemp -d)
  local SYMBOLIZER; SYMBOLIZER=$(command -v llvm-symbolizer-14 || command -v llvm-symbolizer || true)
  for seeds in "$ROOT"/fuzz/corpus/*/; do
    local name; name=$(basename "$seeds")
    mkdir -p "$out/$name/corpus"
    # Reports name functions and lines through llvm-14's symbolizer; nothing depends on it.
    (cd "$dir" && env ${SYMBOLIZER:+ASAN_SYMBOLIZER_PATH=$SYMBOLIZER} \
       ./fuzz_"$name" -max_total_time="$FUZZ_SECONDS" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$out/$name/" "$out/$name/corpus" "$seeds" \
       >"$out/$name/log" 2>&1) &
    pids+=($!); names+=("$name")
  done
  for i in "${!pids[@]}"; do
    if wait "${pids[$i]}"; then
      echo "fuzz_${names[$i]}: $(grep -m1 -o 'Done [0-9]* runs in [0-9]* second(s)' "$out/${names[$i]}/log")"
    else
      failed=1
      echo "fuzz_${names[$i]} FAILED:"; tail -n 60 "$out/${names[$i]}/log"
      ls "$out/${names[$i]}"/crash-* "$out/${names[$i]}"/leak-* "$out/${names[$i]}"/timeout-* 2>/dev/null || true
    fi
  done
  return $failed
}

case "$MODE" in
  run)
    build "$ROOT/build"
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "No display: set DISPLAY (for example run under Xvfb: xvfb-run -s '-screen 0 1920x1080x24' $0 run)." >&2
      exit 1
    fi
    cd "$ROOT/build/bin"
    exec ./ai_inspection_console
    ;;
  test)
    build "$ROOT/build"
    (cd "$ROOT/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$JOBS")
    echo "== sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer)"
    build "$ROOT/build-asan" -DEP_SANITIZE=ON
    (cd "$ROOT/build-asan" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$JOBS")
    echo "== ThreadSanitizer build (the suites that start threads)"
    TARGET=thread_suites build "$ROOT/build-tsan" -DEP_TSAN=ON
    (cd "$ROOT/build-tsan" && QT_QPA_PLATFORM=offscreen \
       ctest --output-on-failure -j"$JOBS" -R "$(cat thread_suites.regex)")
    echo "== fuzzing (libFuzzer, ${FUZZ_SECONDS} s per target)"
    TARGET=fuzzers build "$ROOT/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DEP_FUZZ=ON
    fuzz
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
