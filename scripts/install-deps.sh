#!/usr/bin/env bash
# Installs what the project needs to build, run and test on Debian 12. fonts-comic-neue stands in
# for Comic Sans MS, the windows' font, which Linux does not have.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  g++ cmake make pkg-config qt6-base-dev libgl-dev libzip-dev libpugixml-dev \
  libgtest-dev libbenchmark-dev python3 python3-openpyxl clang-format \
  fonts-comic-neue
