#!/usr/bin/env bash
# Installs the dependencies, builds, prepares a demo installation in build/demo
# and starts KORVADIN on it. Extra arguments (e.g. DEBUG) go to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
demo="$root/build/demo"
rm -rf "$demo"
"$root/build/tools/korvadin-demo" "$demo"
cp "$root/build/src/korvadin" "$demo/korvadin"
exec "$demo/korvadin" "$@"
