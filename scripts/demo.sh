#!/usr/bin/env bash
# The main job: builds Tavrel, the example plug-ins and tavrel-probe, lays
# them out as a host ships (WebPlugins beside the program) and runs the probe
# on them. Installs whatever is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh linux

build=build/demo-build
demo=build/demo
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTAVREL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
rm -rf "$demo"
cmake --install "$build" --prefix "$demo" >/dev/null
mkdir -p "$demo/bin/WebPlugins"
cp "$build"/examples/*.so "$demo/bin/WebPlugins/"
echo "edition=weekend" >"$demo/bin/WebPlugins/news.conf"

probe="$demo/bin/tavrel-probe"
step() {
  echo
  echo "\$ tavrel-probe $*"
  local status=0
  "$probe" "$@" || status=$?
  [[ $status -eq 0 ]] || echo "(exit status $status)"
}

echo "Tavrel installed in $demo; plug-ins in $demo/bin/WebPlugins:"
ls "$demo/bin/WebPlugins"
step
step route https://news.example.com/world/rss
step route https://podcasts.example.net/show/42
step route https://unknown.example/feed
step call GetRSSContent https://news.example.com/world/rss
step call ParseFinalURL feed://news.example.org/rss 128
step lint
