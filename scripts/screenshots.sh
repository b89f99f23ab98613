#!/usr/bin/env bash
# Takes the manual's and the README's screenshots again, offscreen, from the program's own
# widgets: builds ombrel-shots and writes its pictures into resources/manual/images.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target ombrel-shots ombrel_archive
build/dev/tools/ombrel-shots build/dev/src/ombrel.omf resources/manual/images
