#!/usr/bin/env bash
# Set-up, build, then run the game on the demo data laid beside it in build/.
# Arguments go to the game. The log is "tk2v.log" in the user data folder
# (${XDG_DATA_HOME:-~/.local/share}/Quarrybell Works/RVH/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
exec "$root/build/rvh" "$@"
