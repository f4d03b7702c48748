#!/usr/bin/env bash
# Builds wgnrain twice, as released and with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite on both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --tests
jobs=$(nproc)
for variant in release sanitize; do
    options=(-DCMAKE_BUILD_TYPE=Release -DWGNRAIN_TESTS=ON)
    [ "$variant" = sanitize ] && options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DWGNRAIN_TESTS=ON -DWGNRAIN_SANITIZE=ON)
    echo "== $variant build"
    cmake -S . -B "build-$variant" "${options[@]}" >/dev/null
    cmake --build "build-$variant" -j"$jobs" >/dev/null
    (cd "build-$variant" && ctest --output-on-failure -j"$jobs")
done
