#!/usr/bin/env bash
# Sets up, builds and starts the player in the demonstration-movie folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "$root/build/movies"
exec "$root/build/velquorflash"
