#!/usr/bin/env bash
# The vendor's release routine, with zupublish and with the plain openssl command line, each
# checked by the other; zupublish's refusals and errors; the INSTALLER_SIGNER line zupublish
# prints for an osslsigncode-signed program. Leaves the signed files in FIXTURES, where the
# launcher's Windows tests check the same files with BCrypt.
#   zupublish_test.sh ZUPUBLISH FIXTURES
set -uo pipefail
zupublish="$(realpath "$1")"
fixtures="$2"
rm -rf "$fixtures"
mkdir -p "$fixtures"
cd "$fixtures"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect WHAT STATUS OUTPUT-SUBSTRING COMMAND...: the command exits with STATUS and says so.
expect() {
  local what="$1" status="$2" text="$3"
  shift 3
  local output
  output="$("$@" 2>&1)"
  local got=$?
  [ "$got" -eq "$status" ] || fail "$what: exit $got, expected $status: $output"
  [[ "$output" == *"$text"* ]] || fail "$what: no \"$text\" in: $output"
}

# The signed part of a signed file, as the README checks one: all but the two signature lines.
signed_part() { head -n -2 "$1"; }
# The same for a UTF-16LE file: the raw bytes before that line in UTF-16LE.
signed_part_utf16() {
  python3 -c 'import sys; d = open(sys.argv[1], "rb").read()
sys.stdout.buffer.write(d[:d.find("\n[SIGNATURE]".encode("utf-16-le")) + 2])' "$1"
}
openssl_verifies() {  # FILE KEY.pem [utf16]: the openssl command line checks a signed file
  local text="cat" part="signed_part"
  [ "${3:-}" = utf16 ] && text="iconv -f UTF-16LE -t UTF-8" part="signed_part_utf16"
  openssl ec -in "$2" -pubout -out key.pub.pem 2>/dev/null
  $text <"$1" | grep -a '^ECDSA_P256_SHA256=' | cut -d= -f2- | tr -d '\r' | base64 -d >signature.der &&
    $part "$1" | openssl dgst -sha256 -verify key.pub.pem -signature signature.der >/dev/null
}

# ---- keys: two by zupublish, one by openssl ----
"$zupublish" keygen vendor.pem >vendor.line 2>/dev/null || fail "keygen"
"$zupublish" keygen other.pem >other.line 2>/dev/null || fail "keygen of a second key"
openssl ecparam -name prime256v1 -genkey -noout -out openssl.pem
echo "PUBLIC_KEY=$(openssl ec -in openssl.pem -pubout -outform DER 2>/dev/null | base64 -w0)" >openssl.line
for name in vendor other openssl; do cut -d= -f2- "$name.line" >"$name.pub"; done
[ "$(stat -c %a vendor.pem)" = 600 ] || fail "the private key is readable by others"
[ "$(cat vendor.pub)" = "$(openssl ec -in vendor.pem -pubout -outform DER 2>/dev/null | base64 -w0)" ] ||
  fail "keygen's PUBLIC_KEY line is not what openssl prints for the key"
expect "keygen never overwrites a key" 1 "exists already" "$zupublish" keygen vendor.pem

# ---- a release: the version file the launcher's tests use, stamped and signed ----
body() {
  printf '[GENERAL]\r\nZULAUNCHER_VERSION=1000\r\n%s\r\n[PROG]\r\n' "$1"
  printf 'PATH_REG=HKEY_CURRENT_USER\\Software\\ZuLauncherTests\\SignedFixture\\InstallDir\r\n'
  printf 'EXE_NAME=prog.exe\r\nINI_FILE_NAME=prog.ini\r\nVERSION=7\r\nMINORVERSION=0\r\n'
  printf 'NAME=Prog\r\nDOWN_URL=http://127.0.0.1:1/setup.exe\r\nDOWN_SIZE=1\r\nDOWN_SHA256=old\r\n'
  printf 'INSTALL_NOTE=after the digest\r\n'
}
head -c 70000 /dev/urandom >setup.exe
body "" >zupublish.ini
cp zupublish.ini unstamped.ini
"$zupublish" stamp zupublish.ini PROG setup.exe >/dev/null || fail "stamp"
digest="$(sha256sum setup.exe | cut -d' ' -f1)"
diff <(sed "s/^DOWN_SIZE=1\r/DOWN_SIZE=70000\r/; s/^DOWN_SHA256=old\r/DOWN_SHA256=$digest\r/" unstamped.ini) \
  zupublish.ini >/dev/null || fail "stamp changed more than the two values, or moved them"
expect "stamp of a program the file does not list" 1 "no section [NOPE]" \
  "$zupublish" stamp zupublish.ini NOPE setup.exe
expect "stamp of a missing installer" 1 "missing.exe" "$zupublish" stamp zupublish.ini PROG missing.exe

"$zupublish" sign zupublish.ini vendor.pem >/dev/null || fail "sign"
cp zupublish.ini resigned.ini
"$zupublish" sign resigned.ini vendor.pem >/dev/null || fail "sign of a signed file"
[ "$(grep -ac '^\[SIGNATURE\]' resigned.ini)" = 1 ] || fail "signing again left two signatures"

# Files bound to a feed (the launcher INI's FEED_ID), for the launcher's feed tests too.
for feed in prod staging; do
  cp unstamped.ini "feed_$feed.ini"
  expect "sign --feed-id $feed" 0 "FEED_ID=$feed" \
    "$zupublish" sign "feed_$feed.ini" vendor.pem --feed-id "$feed" --valid-days 30
  [ "$(grep -ac "^FEED_ID=$feed" "feed_$feed.ini")" = 1 ] || fail "no FEED_ID=$feed in [GENERAL]"
done
expect "an empty --feed-id" 2 "--feed-id" "$zupublish" sign unstamped.ini vendor.pem --feed-id ""
expect "an option given twice" 2 "usage" \
  "$zupublish" sign unstamped.ini vendor.pem --feed-id a --feed-id b

# The same release by the openssl command line alone (the README's second routine).
body "ISSUED=$(date +%s)" >openssl.ini
printf '[SIGNATURE]\r\nECDSA_P256_SHA256=%s\r\n' \
  "$(openssl dgst -sha256 -sign openssl.pem openssl.ini | base64 -w0)" >>openssl.ini
# A file the vendor signed without ISSUED.
body "" >no_issued.ini
printf '[SIGNATURE]\r\nECDSA_P256_SHA256=%s\r\n' \
  "$(openssl dgst -sha256 -sign vendor.pem no_issued.ini | base64 -w0)" >>no_issued.ini
body "" >other_key.ini
"$zupublish" sign other_key.ini other.pem >/dev/null || fail "sign with the other key"
# UTF-16LE with its mark, signed by zupublish.
{ printf '\xff\xfe'; body "" | iconv -f UTF-8 -t UTF-16LE; } >utf16.ini
"$zupublish" sign utf16.ini vendor.pem >/dev/null || fail "sign of a UTF-16LE file"
[ "$(head -c 2 utf16.ini | od -An -tx1 | tr -d ' ')" = fffe ] || fail "UTF-16LE file lost its mark"
iconv -f UTF-16LE -t UTF-8 <(tail -c +3 utf16.ini) | grep -q '^ECDSA_P256_SHA256=' ||
  fail "the UTF-16LE file's signature is not UTF-16LE text"

# ---- cross-checks: each side verifies what the other signed ----
expect "zupublish verifies its own file" 0 "accepted: signed by key 1 of 1" \
  "$zupublish" verify zupublish.ini "$(cat vendor.pub)"
expect "zupublish verifies the openssl routine's file" 0 "accepted" \
  "$zupublish" verify openssl.ini "$(cat openssl.pub)"
expect "zupublish verifies its UTF-16LE file" 0 "accepted" \
  "$zupublish" verify utf16.ini "$(cat vendor.pub)"
expect "the keygen line is taken as it stands" 0 "accepted" \
  "$zupublish" verify zupublish.ini "$(cat vendor.line)"
expect "a key list whose second key signed" 0 "signed by key 2 of 2" \
  "$zupublish" verify zupublish.ini "$(cat other.pub), $(cat vendor.pub)"
openssl_verifies zupublish.ini vendor.pem || fail "openssl does not verify zupublish's signature"
openssl_verifies utf16.ini vendor.pem utf16 || fail "openssl does not verify the UTF-16LE signature"
openssl_verifies openssl.ini openssl.pem || fail "openssl does not verify its own routine"

# ---- what zupublish verify refuses, as the launcher does ----
sed 's/^VERSION=7/VERSION=8/' zupublish.ini >changed.ini
cp zupublish.ini appended.ini
printf '[EVIL]\r\nX=1\r\n' >>appended.ini
local_copy="$(printf '[GENERAL]\r\nISSUED=%s\r\n' "$(( $(grep -a ^ISSUED= zupublish.ini | tr -dc 0-9) + 1 ))")"
echo "$local_copy" >newer_local.ini
expect "a changed file" 1 "bad signature or unknown key" \
  "$zupublish" verify changed.ini "$(cat vendor.pub)"
expect "another key's signature" 1 "bad signature or unknown key" \
  "$zupublish" verify other_key.ini "$(cat vendor.pub)"
expect "a section after the signature" 1 "no signature" \
  "$zupublish" verify appended.ini "$(cat vendor.pub)"
expect "an unsigned file" 1 "no signature" "$zupublish" verify unstamped.ini "$(cat vendor.pub)"
expect "no ISSUED" 1 "no ISSUED" "$zupublish" verify no_issued.ini "$(cat vendor.pub)"
# A local copy's ISSUED counts only when the copy verifies: unsigned, it bounds nothing.
expect "an unsigned local copy claiming a later ISSUED" 0 "accepted" \
  "$zupublish" verify zupublish.ini "$(cat vendor.pub)" newer_local.ini
sed "s/^ISSUED=.*/ISSUED=$(( $(grep -a ^ISSUED= zupublish.ini | tr -dc 0-9) + 100000 ))\r/" \
  zupublish.ini >newer_signed_local.ini
"$zupublish" sign newer_signed_local.ini vendor.pem >/dev/null || fail "cannot sign the newer copy"
expect "older than a signed local copy" 1 "older ISSUED" \
  "$zupublish" verify zupublish.ini "$(cat vendor.pub)" newer_signed_local.ini
expect "a malformed key list" 1 "malformed PUBLIC_KEY" \
  "$zupublish" verify zupublish.ini "$(cat vendor.pub),"

# ---- installers' signers: the INSTALLER_SIGNER line for an osslsigncode-signed program ----
# The smallest program osslsigncode signs: headers only, as PE32+ (0x20b) or PE32 (0x10b).
tiny_pe() {  # MAGIC OUT
  python3 - "$1" "$2" <<'PY'
import struct, sys
magic, out = int(sys.argv[1], 16), sys.argv[2]
optional_size, count_at = (240, 108) if magic == 0x20B else (224, 92)
dos = bytearray(64); dos[0:2] = b"MZ"; struct.pack_into("<I", dos, 0x3C, 0x40)
coff = struct.pack("<HHIIIHH", 0x8664 if magic == 0x20B else 0x14C, 0, 0, 0, 0, optional_size, 0x22)
optional = bytearray(optional_size)
struct.pack_into("<H", optional, 0, magic)
struct.pack_into("<II", optional, 32, 0x1000, 0x200)  # section and file alignment
struct.pack_into("<II", optional, 56, 0x1000, 0x200)  # size of image and of headers
struct.pack_into("<H", optional, 68, 2)
struct.pack_into("<I", optional, count_at, 16)
image = dos + b"PE\0\0" + coff + optional
open(out, "wb").write(image + bytes(0x400 - len(image)))
PY
}
if command -v osslsigncode >/dev/null; then
  code_key() { openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1" 2>/dev/null; }
  code_key code-ca.key
  openssl req -x509 -new -key code-ca.key -subj "/CN=Test Code Signing CA" -days 2 \
    -addext "basicConstraints=critical,CA:TRUE" -out code-ca.crt 2>/dev/null
  code_key code.key
  printf 'extendedKeyUsage=codeSigning\n' >code.ext
  openssl req -new -key code.key -subj "/CN=Test Vendor" |
    openssl x509 -req -CA code-ca.crt -CAkey code-ca.key -set_serial 7 -days 2 -extfile code.ext \
      -out code.crt 2>/dev/null
  # The CA travels in the signature too; the line names the certificate that signed.
  cat code-ca.crt code.crt >code-chain.pem
  signer_digest="$(openssl x509 -in code.crt -outform DER | sha256sum | cut -d' ' -f1)"
  for magic in 20B 10B; do
    tiny_pe "$magic" "pe$magic.exe"
    osslsigncode sign -certs code-chain.pem -key code.key -h sha256 \
      -in "pe$magic.exe" -out "signed$magic.exe" >/dev/null || fail "osslsigncode sign ($magic)"
    line="$("$zupublish" signer "signed$magic.exe" 2>&1)" || fail "signer ($magic): $line"
    [ "$line" = "INSTALLER_SIGNER=$signer_digest" ] ||
      fail "signer ($magic) printed \"$line\", not the SHA-256 of the signing certificate"
  done
  expect "signer of an unsigned program" 1 "not signed" "$zupublish" signer pe20B.exe
  expect "signer of a file that is no program" 1 "not a PE file" "$zupublish" signer zupublish.ini
  head -c -100 signed20B.exe >cut.exe
  expect "signer of a signature cut short" 1 "past the file's end" "$zupublish" signer cut.exe
  expect "signer of a missing file" 1 "missing.exe" "$zupublish" signer missing.exe
  printf '\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1 rest of a package' > package.msi
  expect "signer of a Windows Installer package" 1 "reads the signatures of programs (.exe) only" \
    "$zupublish" signer package.msi
else
  fail "osslsigncode is not installed: the signer checks cannot run"
fi

# ---- EXPIRES: sign writes it (90 days unless told), verify reports it and refuses a past one ----
now="$(date +%s)"
expires="$(grep -a '^EXPIRES=' zupublish.ini | tr -dc 0-9)"
[ -n "$expires" ] && [ "$expires" -ge $((now + 90 * 86400 - 60)) ] && [ "$expires" -le $((now + 90 * 86400 + 60)) ] ||
  fail "sign without --valid-days wrote EXPIRES=$expires, not about 90 days ahead"
expect "verify reports EXPIRES" 0 "EXPIRES $expires" "$zupublish" verify zupublish.ini "$(cat vendor.pub)"
body "" >short.ini
expect "sign --valid-days 2" 0 "EXPIRES=" "$zupublish" sign short.ini vendor.pem --valid-days 2
short="$(grep -a '^EXPIRES=' short.ini | tr -dc 0-9)"
[ -n "$short" ] && [ "$short" -ge $((now + 2 * 86400 - 60)) ] && [ "$short" -le $((now + 2 * 86400 + 60)) ] ||
  fail "--valid-days 2 wrote EXPIRES=$short"
body "" >forever.ini
expect "sign --valid-days 0" 0 "ISSUED=" "$zupublish" sign forever.ini vendor.pem --valid-days 0
grep -aq '^EXPIRES=' forever.ini && fail "--valid-days 0 wrote EXPIRES"
expect "verify of a file without EXPIRES" 0 "never expires" "$zupublish" verify forever.ini "$(cat vendor.pub)"
expect "--valid-days 0 on a file with EXPIRES" 1 "remove that line" \
  "$zupublish" sign short.ini vendor.pem --valid-days 0
for bad in -1 x 3651 ""; do
  expect "--valid-days '$bad'" 2 "--valid-days takes" "$zupublish" sign short.ini vendor.pem --valid-days "$bad"
done
# Signed by the openssl routine with explicit numbers: one expired, and two releases in order.
signed_by_openssl() {  # FILE GENERAL-LINES
  body "$2" >"$1"
  printf '[SIGNATURE]\r\nECDSA_P256_SHA256=%s\r\n' \
    "$(openssl dgst -sha256 -sign vendor.pem "$1" | base64 -w0)" >>"$1"
}
signed_by_openssl expired.ini "ISSUED=$now"$'\r'$'\n'"EXPIRES=$((now - 1))"
signed_by_openssl issued_300.ini "ISSUED=300"
signed_by_openssl issued_200.ini "ISSUED=200"
# Releases of two feeds signed by one key.
signed_by_openssl feed_prod_300.ini "ISSUED=300"$'\r'$'\n'"FEED_ID=prod"
signed_by_openssl feed_prod_200.ini "ISSUED=200"$'\r'$'\n'"FEED_ID=prod"
signed_by_openssl feed_staging_400.ini "ISSUED=400"$'\r'$'\n'"FEED_ID=staging"
expect "an expired file" 1 "expired: EXPIRES $((now - 1))" "$zupublish" verify expired.ini "$(cat vendor.pub)"
expect "an older release is still well signed" 0 "ISSUED 200" \
  "$zupublish" verify issued_200.ini "$(cat vendor.pub)"

# ---- rollout controls: a channel's section, ROLLOUT in one step, an install's bucket ----
{ body ""; printf '[PROG@beta]\r\nVERSION=8\r\nDOWN_URL=http://127.0.0.1:1/beta.exe\r\nDOWN_SIZE=1\r\n'; } >channels.ini
cp channels.ini channels_before.ini
"$zupublish" stamp channels.ini PROG@beta setup.exe >/dev/null || fail "stamp of a channel's section"
diff <(sed "/^\[PROG@beta\]/,\$ s/^DOWN_SIZE=1\r/DOWN_SIZE=70000\r\nDOWN_SHA256=$digest\r/" channels_before.ini) \
  channels.ini >/dev/null || fail "stamp of [PROG@beta] touched more than its own two values"
cp channels.ini rolled.ini
expect "rollout adds ROLLOUT" 0 "[PROG@beta] ROLLOUT=5" "$zupublish" rollout rolled.ini PROG@beta 5
expect "rollout changes ROLLOUT" 0 "ROLLOUT=25" "$zupublish" rollout rolled.ini PROG@beta 25
diff <(sed "s/^DOWN_SHA256=$digest\r/&\nROLLOUT=25\r/" channels.ini) rolled.ini >/dev/null ||
  fail "rollout changed more than the one value"
cp rolled.ini rolled_before.ini
for share in 101 -1 abc "" 25%; do
  expect "rollout refuses the share '$share'" 1 "whole number 0 to 100" \
    "$zupublish" rollout rolled.ini PROG@beta "$share"
done
cmp -s rolled.ini rolled_before.ini || fail "a refused rollout changed the file"
cp zupublish.ini signed_rolled.ini
expect "rollout of a signed file asks for a new signature" 0 "sign it again" \
  "$zupublish" rollout signed_rolled.ini PROG 100
# The bucket, computed apart from zupublish: the first four bytes of the SHA-256 of
# "<InstallId>:<ProgramID>:<VERSION>.<MINORVERSION>", big-endian, modulo 100.
id=0123456789abcdef0123456789abcdef
independent_bucket() { echo $(( 16#$(printf '%s' "$1" | sha256sum | cut -c1-8) % 100 )); }
[ "$("$zupublish" bucket "$id" MYAPP 5.2 2>/dev/null)" = "$(independent_bucket "$id:MYAPP:5.2")" ] ||
  fail "bucket of MYAPP 5.2 is not what sha256sum gives"
[ "$("$zupublish" bucket "$id" PROG 7 2>/dev/null)" = "$(independent_bucket "$id:PROG:7.0")" ] ||
  fail "bucket of a version without a minor version is not that of 7.0"
expect "bucket 82 is offered from 83 on" 0 "when ROLLOUT is 83 or more" \
  "$zupublish" bucket "$id" MYAPP 5.2
expect "bucket of an upper-case id" 1 "32 lower-case hex digits" \
  "$zupublish" bucket 0123456789ABCDEF0123456789ABCDEF MYAPP 5.2
for version in 5.2.1 v5 "" 5. 99999999999; do
  expect "bucket of the version '$version'" 1 "whole numbers" "$zupublish" bucket "$id" MYAPP "$version"
done

# ---- errors: clear, non-zero, and the file left as it was ----
cp appended.ini before.ini
expect "sign refuses to drop what follows a signature" 1 "follows [SIGNATURE]" \
  "$zupublish" sign appended.ini vendor.pem
cmp -s appended.ini before.ini || fail "a refused sign changed the file"
openssl genpkey -algorithm ed25519 -out ed25519.pem 2>/dev/null
expect "sign with a key of another kind" 1 "not a P-256" "$zupublish" sign before.ini ed25519.pem
expect "sign with a missing key" 1 "nokey.pem" "$zupublish" sign before.ini nokey.pem
printf '[PROG]\r\nX=1\r\n' >no_general.ini
expect "sign without GENERAL" 1 "no section [GENERAL]" "$zupublish" sign no_general.ini vendor.pem
expect "no command" 2 "usage" "$zupublish"
expect "a command with too few arguments" 2 "usage" "$zupublish" sign zupublish.ini
ls .zupublish-* >/dev/null 2>&1 && fail "temporary files left behind"
# The launcher's Windows tests sign files whose addresses are known only at run time with this
# same tool, which Wine starts as the Unix program it is.
cp "$zupublish" zupublish.exe

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "zupublish: all checks passed; fixtures in $fixtures"
