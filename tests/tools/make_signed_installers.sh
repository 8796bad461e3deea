#!/usr/bin/env bash
# Makes the signed installers the installer-signature tests download, from the stand-in
# installer, with a code-signing CA and two vendor certificates made by openssl for this build
# tree only (nothing here is committed; the keys never leave DIR):
#   unsigned.exe         the stand-in as built
#   vendor_signed.exe    signed by the vendor's certificate (osslsigncode, SHA-256)
#   other_signed.exe     signed by another vendor's certificate from the same CA
#   tampered.exe         vendor_signed.exe with one byte of its DOS stub changed afterwards
#   vendor.sha256, other.sha256   SHA-256 of each certificate's DER bytes: what the pin lists
#   make_signed_installers.sh DIR FAKE_INSTALLER.exe
set -euo pipefail
dir="$(realpath -m "$1")"
installer="$(realpath "$2")"
work="$(mktemp -d "$dir.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"

key() { openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1.key" 2>/dev/null; }
key ca
openssl req -x509 -new -key ca.key -subj "/CN=ZuLauncher Test Code Signing CA" -days 30 -sha256 \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -out ca.crt
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' \
  >signing.ext
for name in vendor other; do
  key "$name"
  openssl req -new -key "$name.key" -subj "/CN=ZuLauncher Test $name" |
    openssl x509 -req -CA ca.crt -CAkey ca.key -set_serial "0x$(openssl rand -hex 8)" -days 30 \
      -sha256 -extfile signing.ext -out "$name.crt" 2>/dev/null
  cat "$name.crt" ca.crt >"$name.chain.pem"
  openssl x509 -in "$name.crt" -outform DER | sha256sum | cut -d' ' -f1 >"$name.sha256"
  osslsigncode sign -certs "$name.chain.pem" -key "$name.key" -h sha256 \
    -in "$installer" -out "${name}_signed.exe" >/dev/null
done
cp "$installer" unsigned.exe
cp vendor_signed.exe tampered.exe
# 'T' of "This program cannot be run in DOS mode": hashed by the signature, never run.
printf 't' | dd of=tampered.exe bs=1 seek=$((0x4E)) conv=notrunc status=none
cmp -s tampered.exe vendor_signed.exe && { echo "tampering changed nothing" >&2; exit 1; }

rm -rf "$dir"
mkdir -p "$dir"
cp unsigned.exe vendor_signed.exe other_signed.exe tampered.exe vendor.sha256 other.sha256 "$dir/"
