#!/usr/bin/env bash
# Every folder of src/ includes only folders of a lower rank (or itself); ARCHITECTURE.md explains
# the layers. A qt/ subfolder of X may include X, anything X may include, and the qt/ folders of
# lower ranks; outside qt/ folders (and src/app) nothing includes a qt/ folder. The computation
# folders (balance, chemistry, eto, crops) include no workbook and no window. tests/, bench/ and
# tools/ may include anything. Fails on every include that breaks these rules.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A RANK=(
  [common]=0 [ui]=0
  [workbook]=1
  [simulation]=2
  [balance]=3 [chemistry]=3
  [eto]=4 [crops]=4
  [batch]=5
  [eto_tool]=6 [crop_tool]=6
  [shell]=7
  [app]=8
)
# Computation only: these may not include the file layer nor the window interfaces.
declare -A NO_WORKBOOK_NO_WINDOW=([balance]=1 [chemistry]=1 [eto]=1 [crops]=1)

# Known upward includes that are being removed, as "including-file -> included-file". Each one
# must go as soon as its owner has moved the code; an exception that no longer occurs fails too,
# so the list cannot go stale.
EXCEPTIONS=()

failures=()
used_exceptions=()

# Prints why the include breaks the layers, or nothing when it is allowed.
why_not() {
  local from=$1 from_qt=$2 to=$3 to_qt=$4
  if [ -z "${RANK[$to]+x}" ]; then
    echo "src/$to has no rank (add it to ARCHITECTURE.md and scripts/check-layers.sh)"
    return
  fi
  if [ "$to_qt" = 1 ] && [ "$from_qt" = 0 ] && [ "$from" != app ]; then
    echo "only qt/ folders and src/app include a qt/ folder"
    return
  fi
  if [ "$to" != "$from" ] && [ "${RANK[$to]}" -ge "${RANK[$from]}" ]; then
    echo "$from (rank ${RANK[$from]}) includes $to (rank ${RANK[$to]}): an include runs upward"
    return
  fi
  if [ -n "${NO_WORKBOOK_NO_WINDOW[$from]+x}" ] && { [ "$to" = workbook ] || [ "$to" = ui ]; }; then
    echo "$from computes only: it includes no workbook and no window"
  fi
}

is_exception() {
  local entry=$1 e
  for e in "${EXCEPTIONS[@]}"; do
    if [ "$e" = "$entry" ]; then
      used_exceptions+=("$e")
      return 0
    fi
  done
  return 1
}

check_file() {
  local file=$1 rel from from_qt=0 line included to to_qt reason
  rel=${file#src/}
  from=${rel%%/*}
  if [ -z "${RANK[$from]+x}" ]; then
    failures+=("$file: src/$from has no rank (add it to ARCHITECTURE.md and scripts/check-layers.sh)")
    return
  fi
  case $rel in "$from"/qt/*) from_qt=1 ;; esac
  while IFS= read -r line; do
    included=$(sed -E 's/^[0-9]+:\s*#\s*include\s*["<]([^">]+)[">].*/\1/' <<<"$line")
    to=${included%%/*}
    [ "$to" != "$included" ] && [ -d "src/$to" ] || continue
    to_qt=0
    case $included in "$to"/qt/*) to_qt=1 ;; esac
    reason=$(why_not "$from" "$from_qt" "$to" "$to_qt")
    [ -n "$reason" ] || continue
    is_exception "$file -> $included" && continue
    failures+=("$file:${line%%:*}: #include \"$included\": $reason")
  done < <(grep -n -E '^\s*#\s*include\s*["<][^">]+/' "$file" || true)
}

while IFS= read -r file; do
  check_file "$file"
done < <(git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h')

for e in "${EXCEPTIONS[@]}"; do
  found=0
  for u in "${used_exceptions[@]+"${used_exceptions[@]}"}"; do
    [ "$u" = "$e" ] && found=1
  done
  [ "$found" = 1 ] || failures+=("stale exception in scripts/check-layers.sh, remove it: $e")
done

if [ "${#failures[@]}" -gt 0 ]; then
  echo "Includes that break the layers (see ARCHITECTURE.md):"
  printf '  %s\n' "${failures[@]}"
  exit 1
fi
