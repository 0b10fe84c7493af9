#!/usr/bin/env bash
# Installs the Debian packages Trelvan needs when they are missing (clang and
# its runtime libraries only for the fuzzers) and makes a
# comma-decimal locale (de_DE.UTF-8) available for the locale tests.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libqcustomplot-dev
          libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils
          python3-xlib fonts-liberation fonts-dejavu-core fonts-wqy-microhei locales
          clang libclang-rt-dev)
# The Debian package and the checks of its menu entry, icon and metainfo.
packages+=(dpkg-dev file desktop-file-utils appstream librsvg2-bin)
# The benchmarks' start-up timing (X server notices) and their table.
packages+=(libxcb1-dev jq)
# The build's speed: the compiler cache and the linker
# (cmake/TrelvanBuildSpeed.cmake).
packages+=(ccache mold)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "setup: generating de_DE.UTF-8"
  if [ -f /etc/locale.gen ] && grep -q '^# *de_DE.UTF-8' /etc/locale.gen; then
    $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    $SUDO locale-gen >/dev/null
  else
    $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
  fi
fi

# Room in the compiler cache for the four build folders of several
# revisions (ccache's own default is 5 GB).
if command -v ccache >/dev/null 2>&1; then
  size="$(ccache -k max_size 2>/dev/null || echo 0)"
  if ! awk -v s="$size" 'BEGIN { n = s + 0; u = substr(s, length(s));
        exit !((u == "G" && n >= 10) || u == "T") }'; then
    ccache --max-size=10G >/dev/null
  fi
fi
