#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running Quillon need.
# Usage: scripts/install-deps.sh [build|check|package|tidy|bench|screenshots|fuzz]...
set -euo pipefail

packages=(cmake ninja-build g++ make pkg-config qt6-base-dev qt6-base-private-dev libgl-dev libxcb1-dev libgtest-dev
          libgmock-dev libbenchmark-dev fonts-dejavu-core librsvg2-bin)
for extra in "$@"; do
    case "$extra" in
    build) ;;
    check) packages+=(desktop-file-utils appstream groff man-db bash-completion
                      xvfb xauth dbus at-spi2-core gir1.2-atspi-2.0 python3-gi) ;;
    package) packages+=(dpkg-dev file lintian debootstrap) ;;
    tidy) packages+=(clang-tidy) ;;
    bench) packages+=(libbenchmark-dev ffmpeg hyperfine time) ;;
    screenshots) packages+=(xvfb xauth x11-apps imagemagick fonts-dejavu-core) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    *) echo "install-deps: unknown group '$extra'" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
