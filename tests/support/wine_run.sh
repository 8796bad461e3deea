#!/usr/bin/env bash
# Runs a Windows test program under Wine with the project's own prefix.
# Wine's own diagnostics go to a file: reading them through a pipe slows every start down.
#
# Unless ZU_TEST_HTTP_URL is already set (a server started by the caller) or
# ZU_NO_TEST_HTTP_SERVER=1, it first starts the loopback test server (http_test_server.py) on
# a free port for the length of the run and exports, for the Windows program (Wine passes the
# Unix environment through):
#   ZU_TEST_HTTP_URL          http://127.0.0.1:PORT (no trailing slash)
#   ZU_TEST_HTTP_REFUSED_URL  http://127.0.0.1:PORT2, a port that refuses every connection
#   ZU_TEST_HTTP_ROOT         Unix path of a fresh directory served under /files/
# The program's exit code is returned.
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$repo/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
[ -d "$repo/build/locales" ] && export LOCPATH="${LOCPATH:-$repo/build/locales}"
log="${ZU_WINE_LOG:-$repo/build/wine-stderr.log}"
mkdir -p "$(dirname "$log")"

server_pid=""
server_dir=""
stop_server() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
    server_pid=""
  fi
  if [ -n "$server_dir" ]; then
    rm -rf "$server_dir"
    server_dir=""
  fi
}

start_server() {
  local python=/usr/bin/python3
  [ -x "$python" ] || python=python3  # a version manager's shim costs ~100 ms per start
  server_dir="$(mktemp -d "${TMPDIR:-/tmp}/zu-http.XXXXXX")" || return 1
  mkdir "$server_dir/root"
  "$python" "$repo/tests/support/http_test_server.py" --root "$server_dir/root" \
    --source "$repo" --port-file "$server_dir/port" >>"$log" 2>&1 &
  server_pid=$!
  local port="" refused_port="" _
  for _ in $(seq 1 500); do  # up to 5 s; usually ready after about 60 ms
    if [ -s "$server_dir/port" ]; then
      read -r port refused_port <"$server_dir/port"
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
}

if [ -z "${ZU_TEST_HTTP_URL:-}" ] && [ "${ZU_NO_TEST_HTTP_SERVER:-0}" != 1 ]; then
  trap stop_server EXIT
  trap 'exit 130' INT TERM
  start_server || exit 1
fi

# Loopback requests must never go through a proxy from the environment.
export no_proxy="127.0.0.1,localhost${no_proxy:+,$no_proxy}"
wine "$@" 2>>"$log"
status=$?
stop_server
exit "$status"
