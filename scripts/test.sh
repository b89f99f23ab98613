#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and AddressSanitizer +
# UndefinedBehaviorSanitizer, runs each fuzz target for a bounded time (OMBREL_FUZZ_SECONDS,
# default 30; 0 skips fuzzing), runs every test, then builds and checks the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset ci >/dev/null
cmake --build --preset ci
if [[ "${OMBREL_FUZZ_SECONDS:-30}" != 0 ]]; then
  bash fuzz/run.sh "${OMBREL_FUZZ_SECONDS:-30}"
fi
ctest --preset ci
# The Debian package: lintian, desktop entry and metainfo checks, and the installed programs run
# from a scratch root.
bash scripts/package.sh
