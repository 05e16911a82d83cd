#!/usr/bin/env bash
# Installs the dependencies, builds, prepares a demo installation in build/demo
# and starts KORVADIN on it, with the regional-server simulator beside it
# (HTTP 127.0.0.1:8088, HTTPS 127.0.0.1:8089; what it receives goes to
# build/demo/simulatore). The simulator stops when the program ends. Extra
# arguments (e.g. DEBUG) go to the program. With --server first, the demo
# database is moved onto a private PostgreSQL server started in build/demo/pg
# (local socket only) and the program runs on it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
server=0
if [ "${1:-}" = "--server" ]; then
    server=1
    shift
fi
"$root/scripts/install-deps.sh"
# Only what the demo runs: the program, the simulator, the demo tool (the
# tests are built by scripts/test.sh).
obiettivi=(korvadin korvadin-simulatore korvadin-demo)
[ "$server" = 1 ] && obiettivi+=(korvadin-sposta)
"$root/scripts/build.sh" "$root/build" "${obiettivi[@]}"
demo="$root/build/demo"
rm -rf "$demo"
"$root/build/tools/korvadin-demo" "$demo"
cp "$root/build/src/korvadin" "$demo/korvadin"
# The test authority of the simulator's certificate, as users install it.
cp "$root/build/certificati/CA_ROOT.DER" "$demo/CA_ROOT.DER"
"$root/build/tools/korvadin-simulatore" --porta-http 8088 --porta-https 8089 \
    --cartella "$demo/simulatore" > "$demo/simulatore.out" 2>&1 &
simulatore=$!
trap 'kill "$simulatore" 2>/dev/null || true; wait "$simulatore" 2>/dev/null || true' EXIT
if [ "$server" = 1 ]; then
    bin="$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)"
    pg="$demo/pg"
    mkdir -p "$pg/socket"
    come=()
    if [ "$(id -u)" -eq 0 ]; then chown -R postgres "$pg"; come=(runuser -u postgres --); fi
    "${come[@]}" "$bin/initdb" -D "$pg/dati" -A trust -U postgres -E UTF8 --locale=C.UTF-8 > /dev/null
    "${come[@]}" "$bin/pg_ctl" -D "$pg/dati" -l "$pg/server.log" -w \
        -o "-k $pg/socket -p 55433 -c listen_addresses=" start > /dev/null
    trap 'kill "$simulatore" 2>/dev/null || true; wait "$simulatore" 2>/dev/null || true
          "${come[@]}" "$bin/pg_ctl" -D "$pg/dati" -m fast stop > /dev/null || true' EXIT
    sed -i "s|^\[BaseDati\]\r\?$|&\nMotore=PostgreSQL\r\nServer=$pg/socket\r\nPorta=55433\r\nNomeDB=postgres\r\nUtente=postgres\r|" "$demo/KORVADIN.INI"
    "$root/build/tools/korvadin-sposta" "$demo"
fi
sleep 0.3
if ! kill -0 "$simulatore" 2>/dev/null; then
    echo "Il simulatore del server non è partito:" >&2
    cat "$demo/simulatore.out" >&2
    exit 1
fi
"$demo/korvadin" "$@"
