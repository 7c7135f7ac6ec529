#!/usr/bin/env bash
# The core library (every src/ file outside the qt/ folders and src/app) must not include Qt.
set -euo pipefail
cd "$(dirname "$0")/.."
hits=$(git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' | grep -v -E '/qt/|^src/app/' |
  xargs -r grep -n -E '#\s*include\s*[<"](Q[A-Za-z]|Qt)' || true)
if [ -n "$hits" ]; then
  echo "Qt headers included in the core library:"
  echo "$hits"
  exit 1
fi
