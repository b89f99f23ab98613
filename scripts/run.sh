#!/usr/bin/env bash
# Installs what is missing, builds Ombrel optimised, and starts it (on FILE, when given).
# Usage: scripts/run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/src/ombrel "$@"
