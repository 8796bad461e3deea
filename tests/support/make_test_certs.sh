#!/usr/bin/env bash
# Makes the certificates of the loopback TLS test listeners with openssl into DIR, once, and
# again when they are within a day of their end. Each listener KIND has KIND.crt and KIND.key:
#   trusted      localhost and 127.0.0.1, signed by the test CA (ca.crt / ca.der)
#   wrong-name   other.invalid only, signed by the test CA
#   expired      localhost, signed by the test CA, valid only in January 2020
#   self-signed  localhost, signing itself
#   unknown-ca   localhost, signed by a second CA that nothing trusts
# Only the test Wine prefix is ever told to trust the test CA (wine_run.sh).
set -euo pipefail
dir="$(realpath -m "$1")"
if [ -f "$dir/ready" ] &&
   openssl x509 -checkend 86400 -noout -in "$dir/trusted.crt" >/dev/null 2>&1; then
  exit 0
fi
mkdir -p "$(dirname "$dir")"
work="$(mktemp -d "$dir.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"

key() { openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1.key" 2>/dev/null; }
authority() {  # NAME CN
  key "$1"
  openssl req -x509 -new -key "$1.key" -subj "/CN=$2" -days 30 -sha256 -out "$1.crt" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
}
extensions() {  # SAN
  printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n' "$1"
}
signed() {  # KIND CA SAN
  extensions "$3" >"$1.ext"
  local name="${3#DNS:}"
  openssl req -new -key server.key -subj "/CN=${name%%,*}" 2>/dev/null |
    openssl x509 -req -CA "$2.crt" -CAkey "$2.key" -set_serial "0x$(openssl rand -hex 8)" \
      -days 30 -sha256 -extfile "$1.ext" -out "$1.crt" 2>/dev/null
  cp server.key "$1.key"
}

authority ca "ZuLauncher Test CA"
authority other-ca "ZuLauncher Untrusted Test CA"
key server
signed trusted ca "DNS:localhost,IP:127.0.0.1"
signed wrong-name ca "DNS:other.invalid"
signed unknown-ca other-ca "DNS:localhost"

# A date range in the past needs the ca command and its small database.
extensions "DNS:localhost" >expired.ext
: >index.txt
printf '[ca]\ndefault_ca=test\n[test]\ndatabase=index.txt\nnew_certs_dir=.\nserial=serial\n'\
'default_md=sha256\npolicy=any\n[any]\ncommonName=supplied\n' >ca.cnf
openssl rand -hex 8 >serial
openssl req -new -key server.key -subj "/CN=localhost" -out expired.csr 2>/dev/null
openssl ca -batch -config ca.cnf -cert ca.crt -keyfile ca.key -in expired.csr -out expired.crt \
  -startdate 20200101000000Z -enddate 20200201000000Z -extfile expired.ext -notext 2>/dev/null
cp server.key expired.key

openssl req -x509 -new -key server.key -subj "/CN=localhost" -days 30 -sha256 \
  -addext "subjectAltName=DNS:localhost" -out self-signed.crt
cp server.key self-signed.key

openssl x509 -in ca.crt -outform DER -out ca.der
mkdir -p "$dir"
for kind in trusted wrong-name expired self-signed unknown-ca; do
  cp "$kind.crt" "$kind.key" "$dir/"
done
cp ca.crt ca.der "$dir/"
touch "$dir/ready"
