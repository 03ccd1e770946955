#!/usr/bin/env bash
# Try Tavrel: builds it, the example plug-ins and tavrel-probe, lays them out
# as a host ships (WebPlugins beside the program) and runs the probe on them.
# Installs whatever is missing.
#
#   scripts/demo.sh            on Linux
#   scripts/demo.sh windows    Tavrel.dll and the plug-ins, under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/steps.sh

target=${1:-linux}
configure=(-DCMAKE_BUILD_TYPE=Release -DTAVREL_BUILD_TESTS=OFF)
run=()
suffix=.so
case $target in
linux) ;;
windows)
  configure+=(-DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake)
  run=(wine)
  suffix=.dll
  ;;
*)
  echo "usage: scripts/demo.sh [linux|windows]" >&2
  exit 2
  ;;
esac

step "installing the build tools" scripts/install-deps.sh "$target"
if [[ $target == windows ]]; then
  source scripts/wine-session.sh
fi

build=build/demo-build-$target
demo=build/demo-$target
step "configuring the $target build" cmake -S . -B "$build" "${configure[@]}"
step "building Tavrel for $target" cmake --build "$build" -j"$(nproc)"
rm -rf "$demo"
step "installing into $demo" cmake --install "$build" --prefix "$demo"
mkdir -p "$demo/bin/WebPlugins"
cp "$build"/examples/*"$suffix" "$demo/bin/WebPlugins/"
echo "edition=weekend" >"$demo/bin/WebPlugins/news.conf"

probe="$demo/bin/tavrel-probe"
[[ $target == windows ]] && probe+=.exe
show() {
  echo
  echo "\$ tavrel-probe $*"
  local status=0
  "${run[@]}" "$probe" "$@" || status=$?
  [[ $status -eq 0 ]] || echo "(exit status $status)"
}

echo "Tavrel installed in $demo; plug-ins in $demo/bin/WebPlugins:"
ls "$demo/bin/WebPlugins"
show
show route https://news.example.com/world/rss
show route https://podcasts.example.net/show/42
show route https://unknown.example/feed
show call GetRSSContent https://news.example.com/world/rss
show call ParseFinalURL feed://news.example.org/rss 128
show pages
show lint
