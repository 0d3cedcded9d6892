#!/usr/bin/env bash
# Installs what is missing, builds Lirobel in Release and starts the window.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

lirobel_install_missing_packages
lirobel_build build/release Release -DLIROBEL_TESTS=OFF -DLIROBEL_BENCHMARKS=OFF

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to show the window on; for scripted use run build/release/bin/lirobel-cli --help." >&2
    exit 1
fi
exec build/release/bin/lirobel "$@"
