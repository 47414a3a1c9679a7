#!/usr/bin/env bash
# Installs the Debian packages that building and testing Zandrell need, when they
# are missing. Usage: install-deps.sh [build|match|anchors|package|windows|gui|linecheck|all]...
set -euo pipefail

want=("$@")
[ ${#want[@]} -gt 0 ] || want=(build)

packages=()
need() {  # need COMMAND-OR-FILE PACKAGE
  if [[ "$1" == /* ]]; then [ -e "$1" ] && return 0; else command -v "$1" >/dev/null 2>&1 && return 0; fi
  packages+=("$2")
}

for group in "${want[@]}"; do
  case "$group" in
    build)
      need cmake cmake
      need g++ g++
      need make make
      need /usr/include/gtest/gtest.h libgtest-dev
      need /usr/include/gmock/gmock.h libgmock-dev
      ;;
    match)
      need /usr/games/xboard xboard
      need /usr/games/fairymax fairymax
      need /usr/games/polyglot polyglot  # the UCI program's adapter to xboard
      need xvfb-run xvfb
      need xauth xauth
      ;;
    package)
      need lintian lintian
      need dpkg-shlibdeps dpkg-dev
      need /usr/games/xboard xboard
      need /usr/games/polyglot polyglot
      need xvfb-run xvfb
      need xauth xauth
      need runuser util-linux
      ;;
    gui)
      need fltk-config libfltk1.3-dev
      need xvfb-run xvfb
      need xauth xauth
      need xdotool xdotool
      ;;
    windows)
      need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64
      need /usr/lib/wine/wine64 wine64  # Debian keeps the 64-bit loader off PATH
      need wine wine
      ;;
    screenshot)
      need Xvfb xvfb
      need xwd x11-apps
      need /usr/bin/convert imagemagick
      ;;
    format)
      need clang-format clang-format
      need clang-tidy clang-tidy
      ;;
    linecheck)
      need node nodejs
      need npm npm
      ;;
    anchors)  # the opponents scripts/strength.sh measures against
      need /usr/games/fairymax fairymax
      need /usr/games/phalanx phalanx
      need /usr/games/gnuchess gnuchess
      need /usr/games/hoichess hoichess
      need /usr/games/sjeng sjeng
      need /usr/games/stockfish stockfish
      need /usr/games/polyglot polyglot
      ;;
    bench)
      need hyperfine hyperfine
      need /usr/games/fairymax fairymax
      ;;
    all) exec "$0" build match package gui windows bench format linecheck ;;
    *) echo "install-deps: unknown group $group" >&2; exit 2 ;;
  esac
done

[ ${#packages[@]} -eq 0 ] && exit 0
echo "install-deps: installing ${packages[*]}"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}"
