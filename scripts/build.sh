#!/usr/bin/env bash
# Configures and builds everything (program, tests, benchmarks, sample workbook) in ./build.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMEDRAVOLIX_WERROR=ON
cmake --build build -j "$(nproc)"
