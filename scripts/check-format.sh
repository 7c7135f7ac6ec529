#!/usr/bin/env bash
# Fails when a C++ file is not formatted as .clang-format says (fix with: clang-format -i FILE).
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -co --exclude-standard -- '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror
