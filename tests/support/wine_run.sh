#!/usr/bin/env bash
# Runs a Windows test program under Wine with the project's own prefix of its architecture
# (ZU_WINE_ARCH: win32 or win64, set by the build's toolchain file).
# Wine's own diagnostics go to a file: reading them through a pipe slows every start down.
#
# Unless ZU_TEST_HTTP_URL is already set (a server started by the caller) or
# ZU_NO_TEST_HTTP_SERVER=1, it first starts the loopback test server (http_test_server.py) on
# a free port for the length of the run and exports, for the Windows program (Wine passes the
# Unix environment through):
#   ZU_TEST_HTTP_URL          http://127.0.0.1:PORT (no trailing slash)
#   ZU_TEST_HTTP_REFUSED_URL  http://127.0.0.1:PORT2, a port that refuses every connection
#   ZU_TEST_HTTP_ROOT         Unix path of a fresh directory served under /files/
#   ZU_TEST_HTTP_PROXY        127.0.0.1:PORT of the loopback forward proxy
#   ZU_TEST_HTTPS_URL         https://localhost:PORT, a TLS listener whose certificate the test
#                             CA signed (the CA is trusted in this prefix only), and beside it
#   ZU_TEST_HTTPS_WRONG_NAME_URL, ZU_TEST_HTTPS_EXPIRED_URL, ZU_TEST_HTTPS_SELF_SIGNED_URL,
#   ZU_TEST_HTTPS_UNKNOWN_CA_URL  listeners whose certificate must be refused
# (the HTTPS ones only when openssl made the certificates and the prefix trusts the CA).
# The program's exit code is returned.
#
# ZU_WINE_USER=NAME (when run by root) runs the program as the Unix user NAME instead, made
# when missing, in a prefix of that user's own and from a copy of the programs and packages
# (*.exe, *.msi) of the program's folder; the server still runs as root. Wine run by root
# ignores the file modes in which Wine keeps a file's read-only state, so only a run by another
# user shows what a standard user meets.
# Run by any other user, the program simply runs as that user.
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
source "$repo/scripts/wine_env.sh"
wine_use_arch "$repo" || exit 1
log="${ZU_WINE_LOG:-$repo/build/wine-stderr.log}"
mkdir -p "$(dirname "$log")"

server_pid=""
server_dir=""
certificates="$repo/build/test-certs"
stop_server() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
    server_pid=""
  fi
  if [ -n "$server_dir" ]; then
    # Folders the server sealed (http_test_seal.py) and could not open again itself.
    local how folder
    while read -r how folder; do
      case "$how" in
        chattr) chattr -i "$folder" "$folder"/* 2>/dev/null ;;
        bind) umount "$folder" 2>/dev/null ;;
      esac
    done < <(cat "$server_dir/sealed" 2>/dev/null)
    rm -rf "$server_dir"
    server_dir=""
  fi
}

start_server() {
  local python=/usr/bin/python3
  [ -x "$python" ] || python=python3  # a version manager's shim costs ~100 ms per start
  server_dir="$(mktemp -d "${TMPDIR:-/tmp}/zu-http.XXXXXX")" || return 1
  mkdir "$server_dir/root"
  local tls=()
  if "$repo/tests/support/make_test_certs.sh" "$certificates" >>"$log" 2>&1; then
    tls=(--tls-dir "$certificates")
  else
    echo "wine_run.sh: no test certificates (is openssl installed?): HTTPS tests will fail" >&2
  fi
  "$python" "$repo/tests/support/http_test_server.py" --root "$server_dir/root" \
    --source "$repo" --port-file "$server_dir/port" --proxy 1 "${tls[@]}" >>"$log" 2>&1 &
  server_pid=$!
  local port="" refused_port="" listeners="" _
  for _ in $(seq 1 500); do  # up to 5 s; usually ready after about 60 ms
    if [ -s "$server_dir/port" ]; then
      read -r port refused_port listeners <"$server_dir/port"
      break
    fi
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.01
  done
  if [ -z "$port" ]; then
    echo "wine_run.sh: the test HTTP server did not start (see $log)" >&2
    return 1
  fi
  export ZU_TEST_HTTP_URL="http://127.0.0.1:$port"
  export ZU_TEST_HTTP_REFUSED_URL="http://127.0.0.1:$refused_port"
  export ZU_TEST_HTTP_ROOT="$server_dir/root"
  local listener
  for listener in $listeners; do
    case "$listener" in
      proxy=*) export ZU_TEST_HTTP_PROXY="127.0.0.1:${listener#proxy=}" ;;
    esac
  done
  if [ ${#tls[@]} -gt 0 ] && trust_test_ca; then
    for listener in $listeners; do
      local kind="${listener%%=*}" url="https://localhost:${listener#*=}"
      case "$kind" in
        tls-trusted) export ZU_TEST_HTTPS_URL="$url" ;;
        tls-wrong-name) export ZU_TEST_HTTPS_WRONG_NAME_URL="$url" ;;
        tls-expired) export ZU_TEST_HTTPS_EXPIRED_URL="$url" ;;
        tls-self-signed) export ZU_TEST_HTTPS_SELF_SIGNED_URL="$url" ;;
        tls-unknown-ca) export ZU_TEST_HTTPS_UNKNOWN_CA_URL="$url" ;;
      esac
    done
  fi
}

# The prefix trusts the test CA once per CA: trust_test_ca.exe (built beside the test
# programs) adds it to the current user's Root store there, and only there.
trust_test_ca() {
  local marker="$WINEPREFIX/.zu-test-ca" fingerprint helper
  fingerprint="$(openssl x509 -noout -fingerprint -sha256 -in "$certificates/ca.crt")" || return 1
  [ "$(cat "$marker" 2>/dev/null)" = "$fingerprint" ] && return 0
  helper="$(dirname "$program")/trust_test_ca.exe"
  if [ ! -f "$helper" ]; then
    echo "wine_run.sh: $helper missing: HTTPS tests will fail" >&2
    return 1
  fi
  run_wine "$helper" "Z:$certificates/ca.der" 2>>"$log" || return 1
  echo "$fingerprint" >"$marker"
}

# Wine as the program's user: this one, or ZU_WINE_USER's.
as_user=""
run_wine() {
  if [ -z "$as_user" ]; then
    wine "$@"
  else
    runuser -u "$as_user" -- env HOME="$user_home" WINEPREFIX="$WINEPREFIX" \
      PATH=/usr/local/bin:/usr/bin:/bin "${WINELOADER:-wine}" "$@"
  fi
}

# Sets up ZU_WINE_USER's run: the user, the prefix (made once, about 20 s) and the copy.
user_copy=""
prepare_user_run() {
  as_user="$ZU_WINE_USER"
  id -u "$as_user" >/dev/null 2>&1 ||
    useradd --create-home --shell /usr/sbin/nologin "$as_user" >>"$log" 2>&1 || return 1
  user_home="$(getent passwd "$as_user" | cut -d: -f6)"
  export WINEPREFIX="$user_home/wineprefix-$ZU_WINE_ARCH"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    run_wine wineboot -i >>"$log" 2>&1 || return 1
  fi
  user_copy="$(mktemp -d "${TMPDIR:-/tmp}/zu-user-run.XXXXXX")" || return 1
  find "$(dirname "$program")" -maxdepth 1 -type f \( -name "*.exe" -o -name "*.msi" \) \
    -exec cp -t "$user_copy" {} + || return 1
  chown -R "$as_user" "$user_copy"
  chmod 755 "$user_copy"
  program="$user_copy/$(basename "$program")"
}

end_user_run() {
  [ -n "$as_user" ] && runuser -u "$as_user" -- env WINEPREFIX="$WINEPREFIX" \
    "${WINESERVER:-wineserver}" -k 2>/dev/null
  [ -n "$user_copy" ] && rm -rf "$user_copy"
  user_copy=""
}

program="$1"
shift
if [ -n "${ZU_WINE_USER:-}" ] && [ "$(id -u)" = 0 ]; then
  prepare_user_run || {
    echo "wine_run.sh: cannot run as $ZU_WINE_USER (see $log)" >&2
    exit 1
  }
  cd "$user_copy" || exit 1
fi
if [ -z "${ZU_TEST_HTTP_URL:-}" ] && [ "${ZU_NO_TEST_HTTP_SERVER:-0}" != 1 ]; then
  trap 'stop_server; end_user_run' EXIT
  trap 'exit 130' INT TERM
  start_server || exit 1
  if [ -n "$as_user" ]; then  # the program copies what it serves into the server's root
    chmod 755 "$server_dir"
    chown -R "$as_user" "$server_dir/root"
  fi
fi

# The prefix's own Internet settings are the only proxy configuration the tests see. Wine's
# WinINet (measured, Wine 8) uses http_proxy whenever the prefix's ProxyEnable is off, and a
# no_proxy variable replaces the prefix's ProxyOverride list altogether, so neither may come
# in from the environment.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
run_wine "$program" "$@" 2>>"$log"
status=$?
stop_server
end_user_run
exit "$status"
