#!/usr/bin/env bash
# Builds the program and starts the window in build/release/run, the folder
# that holds the evaluation data files (the program looks in its current
# folder first). Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

kaimo_install_packages "${KAIMO_PACKAGES[@]}"
kaimo_build build/release "${KAIMO_RELEASE_OPTIONS[@]}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display to open the window on (DISPLAY is not set); try: xvfb-run ./run.sh" >&2
  exit 1
fi

run_dir=build/release/run
mkdir -p "$run_dir"
cd "$run_dir"
exec ../app/kaimo "$@"
