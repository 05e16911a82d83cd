#!/usr/bin/env bash
# Makes the test certificate authority of the regional-server simulator and a
# server certificate for 127.0.0.1 / localhost signed by it, in the given folder:
#   ca.pem, ca.key    the authority (never a real one: made here, for tests only)
#   CA_ROOT.DER       the authority in DER, the file users put in the program folder
#   server.pem, server.key   the simulator's certificate and key
set -euo pipefail
out="$1"
mkdir -p "$out"
cd "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
    -keyout ca.key -out ca.pem -days 3650 -subj "/O=KORVADIN prove/CN=KORVADIN CA di prova" \
    -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
    -keyout server.key -out "$tmp/server.csr" -subj "/O=KORVADIN prove/CN=127.0.0.1" 2>/dev/null
cat > "$tmp/ext.cnf" <<EXT
basicConstraints=CA:FALSE
keyUsage=critical,digitalSignature,keyEncipherment
extendedKeyUsage=serverAuth
subjectAltName=IP:127.0.0.1,DNS:localhost
EXT
openssl x509 -req -in "$tmp/server.csr" -CA ca.pem -CAkey ca.key -CAcreateserial \
    -CAserial "$tmp/ca.srl" -out server.pem -days 3650 -extfile "$tmp/ext.cnf" 2>/dev/null
openssl x509 -in ca.pem -outform DER -out CA_ROOT.DER
