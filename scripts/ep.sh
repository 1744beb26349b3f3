#!/usr/bin/env bash
# Installs what is missing, builds, then runs the console (run) or every test (test).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
MODE=${1:-run}

PACKAGES=(g++ cmake make pkg-config qtbase5-dev qtbase5-dev-tools libqt5charts5-dev
          libopencv-core-dev libopencv-imgproc-dev libopencv-imgcodecs-dev
          fonts-wqy-microhei xvfb xauth)
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

JOBS=$(nproc)
build() { # dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$JOBS"
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
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
