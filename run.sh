#!/usr/bin/env bash
# Builds the program and runs it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

kaimo_install_packages "${KAIMO_PACKAGES[@]}"
kaimo_build build/release -DCMAKE_BUILD_TYPE=Release
cli=build/release/tools/cli/kaimo-cli
echo "Perft from the initial position:"
"$cli" perft 8
echo "Static evaluation of the initial position:"
"$cli" eval
