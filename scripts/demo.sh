#!/usr/bin/env bash
# The main job: ZuLauncher serves a real `run` request under Wine. A loopback HTTP server
# offers a version file and a real NSIS installer of a small demo program; the launcher
# (started by zuhost, playing the host application) refreshes the version file, finds the
# program missing, downloads the installer behind its progress dialog into a private folder,
# checks it against the size and SHA-256 the version file gives, installs silently,
# starts the program and posts its result. A second run finds the program current and only
# starts it. The version file is signed as a vendor signs it (zupublish, with a key made for
# this run) and the launcher INI names that key, so the launcher takes only the signed file
# and an installer whose digest it carries. The installer is signed too (Authenticode, by
# osslsigncode, with a code-signing certificate made for this run) and the launcher INI pins
# that certificate, so the launcher also runs only an installer the vendor signed.
# Screenshots go to build/demo/screenshots/.
# The shipped 32-bit launcher runs where this machine executes 32-bit code; elsewhere the same
# road runs with the 64-bit build (ZU_ASSUME_NO_WIN32=1 chooses it anywhere).
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$repo"
scripts/setup.sh
source scripts/wine_env.sh
pick_windows_arch "$repo" demo
arch="$ZU_ARCH"

cmake --preset "$arch" >/dev/null
cmake --build --preset "$arch" --target ZuLauncher zuhost zu_demo_setup >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target zupublish >/dev/null
zupublish="$repo/build/native/tools/zupublish/zupublish"

demo="$repo/build/demo"
rm -rf "$demo"
mkdir -p "$demo/launcher" "$demo/www" "$demo/screenshots"
cp "build/$arch/ZuLauncher.exe" "build/$arch/zuhost.exe" "$demo/launcher/"
cp "build/$arch/zu_demo_setup.exe" "$demo/www/"

# The launcher speaks Russian: Wine takes its ANSI code page (1251) from LC_ALL, with the
# locale that set-up generated into the build tree (given to Wine alone: the shell has none).
export LOCPATH="$repo/build/locales"
russian() { env LC_ALL=ru_RU.UTF-8 "$@"; }
source scripts/wine_session.sh
server_pid=""
shooter_pid=""
cleanup() {
  [ -n "$shooter_pid" ] && kill "$shooter_pid" 2>/dev/null || true
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  wine_session_stop
}
trap cleanup EXIT
wine_session_start "$repo" "$arch"

python3 tests/support/http_test_server.py --root "$demo/www" --port-file "$demo/port" \
  >"$demo/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do [ -s "$demo/port" ] && break; sleep 0.05; done
port="$(cut -d' ' -f1 "$demo/port")"
base="http://127.0.0.1:$port"

# The vendor signs its installer with its code-signing certificate (here a self-signed one made
# for this run; a real vendor's comes from a CA) and pins that certificate in the launcher INI
# with the line zupublish reads from the signed installer. Signing comes first: DOWN_SIZE and
# DOWN_SHA256 describe the signed file.
signing="$demo/signing"
mkdir -p "$signing"
openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$signing/vendor.key" 2>/dev/null
openssl req -x509 -new -key "$signing/vendor.key" -subj "/CN=ZU Demo Vendor" -days 1 -sha256 \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
  -out "$signing/vendor.crt" 2>/dev/null
osslsigncode sign -certs "$signing/vendor.crt" -key "$signing/vendor.key" -h sha256 -n "ZU Demo" \
  -in "$demo/www/zu_demo_setup.exe" -out "$signing/zu_demo_setup.exe" >/dev/null
mv "$signing/zu_demo_setup.exe" "$demo/www/zu_demo_setup.exe"
installer_signer="$("$zupublish" signer "$demo/www/zu_demo_setup.exe")"

# The installer trickles in over about three seconds so the progress dialog can be seen.
setup_size=$(stat -c %s "$demo/www/zu_demo_setup.exe")
rate=$((setup_size / 3 + 1))
# What the vendor publishes with the installer, computed from the installer just built.
setup_sha256=$(sha256sum "$demo/www/zu_demo_setup.exe" | cut -d' ' -f1)
cat >"$demo/www/version.ini" <<INI
[GENERAL]
ZULAUNCHER_VERSION=1000

[ZUDEMO]
NAME=ZU Demo
DOWN_URL=$base/files/zu_demo_setup.exe?rate=$rate
DOWN_SIZE=$setup_size
DOWN_SHA256=$setup_sha256
PATH_REG=HKEY_CURRENT_USER\\Software\\ZuDemo\\InstallDir
EXE_NAME=zu_demo.exe
INI_FILE_NAME=zu_demo.ini
VERSION=1
MINORVERSION=0
INI
# The vendor's release routine: a key (made once; here for this run only), the installer's
# size and digest stamped into the version file, then the signature.
public_key="$("$zupublish" keygen "$demo/vendor.pem" 2>/dev/null)"
"$zupublish" stamp "$demo/www/version.ini" ZUDEMO "$demo/www/zu_demo_setup.exe" >/dev/null
"$zupublish" sign "$demo/www/version.ini" "$demo/vendor.pem"
printf '[GENERAL]\r\nVERSION_FILE_URL=%s/files/version.ini\r\n%s\r\n%s\r\n' "$base" "$public_key" \
  "$installer_signer" >"$demo/launcher/ZuLauncher.ini"

# Start from a machine without the demo program.
wine reg delete 'HKCU\Software\ZuDemo' /f >/dev/null 2>&1 || true
wine cmd /c 'rmdir /s /q "%LOCALAPPDATA%\ZuDemo"' >/dev/null 2>&1 || true

shoot() {  # screenshots every half second while the launcher runs
  local n=0
  while true; do
    import -display "$DISPLAY" -window root "$demo/screenshots/$1-$(printf %02d $n).png" 2>/dev/null || true
    n=$((n + 1))
    sleep 0.5
  done
}

echo "== the version file describes the installer: DOWN_SIZE=$setup_size DOWN_SHA256=$setup_sha256"
echo "== the installer is signed; the launcher INI pins its signer: $installer_signer"
parameter="<ZULAUNCHER_PARAM Command='run' ProgramID='ZUDEMO' SilentMessage='0' SilentInstall='1' LaunchParam='--from-demo'/>"
for round in first second; do
  echo "== $round run: zuhost $parameter"
  shoot "$round" &
  shooter_pid=$!
  set +e
  (cd "$demo/launcher" && russian wine zuhost.exe "$parameter" 2>>"$demo/wine.log")
  status=$?
  set -e
  started=no
  for _ in $(seq 1 30); do  # the launcher does not wait for the program: look for its window
    if xwininfo -display "$DISPLAY" -root -tree 2>/dev/null | grep -q '"ZU Demo"'; then
      started=yes
      break
    fi
    sleep 0.1
  done
  sleep 1  # a last screenshot with the program's window
  kill "$shooter_pid" 2>/dev/null || true
  wait "$shooter_pid" 2>/dev/null || true
  shooter_pid=""
  echo "   zuhost exit status: $status; the demo program's window is up: $started"
  if [ "$round" = first ] && [ "$status" -eq 0 ]; then
    temp_unix="$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')" 2>/dev/null)"
    echo "   the installer matched DOWN_SIZE, DOWN_SHA256 and INSTALLER_SIGNER and ran;" \
      "private download folders left in $temp_unix: $(find "$temp_unix" -maxdepth 1 -name 'ZuSetup-*' | wc -l)"
    echo "   installed: $(wine reg query 'HKCU\Software\ZuDemo' /v InstallDir 2>/dev/null | tr -d '\r' | grep InstallDir)"
  fi
  wine taskkill /f /im zu_demo.exe >/dev/null 2>&1 || true
  [ "$status" -eq 0 ] && [ "$started" = yes ] || { echo "demo: the launcher did not succeed"; exit 1; }
done
echo "Screenshots: $demo/screenshots/ (first-*.png show the progress dialog, then the program)"
