#!/usr/bin/env bash
# Makes a private test certificate authority and a server certificate for
# 127.0.0.1 and localhost, signed by it, in the given folder:
#   ca.pem (the authority the client is configured to trust), server.pem, server.key.
# Existing files are kept, so a sandbox keeps its authority between runs.
set -euo pipefail
out=${1:?usage: make-certificates.sh <folder>}
mkdir -p "$out"
cd "$out"
[ -s ca.pem ] && [ -s server.pem ] && [ -s server.key ] && exit 0

umask 077
days=3650
openssl ecparam -name prime256v1 -genkey -noout -out ca.key
openssl req -x509 -new -key ca.key -sha256 -days "$days" -subj "/CN=Stand-in web service test authority" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -out ca.pem 2>/dev/null

openssl ecparam -name prime256v1 -genkey -noout -out server.key
openssl req -new -key server.key -subj "/CN=localhost" -out server.csr 2>/dev/null
cat > server.ext <<'EXT'
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature,keyEncipherment
extendedKeyUsage=serverAuth
subjectAltName=IP:127.0.0.1,DNS:localhost
EXT
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -sha256 -days "$days" \
  -extfile server.ext -out server.pem 2>/dev/null
rm -f server.csr server.ext ca.srl
chmod 644 ca.pem server.pem
