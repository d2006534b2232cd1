#!/usr/bin/env bash
# Installs the Debian packages the project needs (when missing), then configures and builds.
# Usage: tools/setup.sh [--sanitize|--thread|--fuzz] ; the build goes to build/, build-asan/, build-tsan/
# or build-fuzz/. The ThreadSanitizer build makes only the test programs whose code starts threads.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake ninja-build g++ clang pkg-config libclang-rt-14-dev
  libsdl2-dev libepoxy-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libfreetype-dev libfontconfig-dev fonts-liberation
  zlib1g-dev libpng-dev libjpeg-dev libmng-dev libogg-dev libtheora-dev
  libvorbis-dev libmpg123-dev libzzip-dev libboost-dev libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libxtst-dev xvfb)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  # sudo drops the caller's environment, so the front-end setting goes through env.
  as_root=(env DEBIAN_FRONTEND=noninteractive)
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Installing needs root or sudo." >&2; exit 1; }
    as_root=(sudo "${as_root[@]}")
  fi
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

mode=${1:-}
targets=()
case "$mode" in
  --sanitize) dir=build-asan; opts=(-DCMAKE_BUILD_TYPE=Debug -DRVH_SANITIZE=ON -DRVH_BENCH=OFF) ;;
  --thread) dir=build-tsan; opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DRVH_TSAN=ON -DRVH_BENCH=OFF)
            targets=(--target test_tk2v_platform test_tk2v_gfx test_tk2v_sound test_game test_game_app) ;;
  --fuzz) dir=build-fuzz; opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DRVH_FUZZ=ON -DRVH_TESTS=OFF -DRVH_BENCH=OFF
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  "") dir=build; opts=(-DCMAKE_BUILD_TYPE=Release) ;;
  *) echo "usage: $0 [--sanitize|--thread|--fuzz]" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$root/$dir" -G Ninja "${opts[@]}" >/dev/null
cmake --build "$root/$dir" -j "$(nproc)" "${targets[@]}"
