#!/usr/bin/env bash
# Sets up, builds (normal and sanitizer builds) and runs every test headless.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
"$root/scripts/build.sh"
(cd "$root/build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 900)
# The parser and renderer once more under AddressSanitizer and UBSan.
BUILD_DIR="$root/build-asan" BUILD_TYPE=Debug "$root/scripts/build.sh" -DVF_SANITIZE=ON -DVF_ENGINE_ONLY=ON
(cd "$root/build-asan" && ctest --output-on-failure --parallel "$(nproc)" --timeout 1800 -L engine)
