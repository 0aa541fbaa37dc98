#!/usr/bin/env bash
# Installs the build tools and libraries Kestra needs (Debian packages).
set -euo pipefail
pkgs=(cmake g++ make libgtest-dev libbenchmark-dev)
missing=()
for p in "${pkgs[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
if ((${#missing[@]})); then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq "${missing[@]}"
fi
