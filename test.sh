#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: once in a Release build with warnings
# as errors, once in a build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

lirobel_install_missing_packages

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
jobs=$(nproc)

lirobel_build build/test Release -DLIROBEL_WERROR=ON
ctest --test-dir build/test --output-on-failure --parallel "$jobs"

lirobel_build build/sanitize RelWithDebInfo -DLIROBEL_WERROR=ON -DLIROBEL_SANITIZE=ON -DLIROBEL_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
    ctest --test-dir build/sanitize --output-on-failure --parallel "$jobs"
