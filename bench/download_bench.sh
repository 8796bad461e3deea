#!/usr/bin/env bash
# Download throughput on loopback, from a real nginx, in one run: the engine (file mode,
# under Wine), the launcher's install road (the installer download dialog, under Wine and
# Xvfb), a bare WinINet loop with the same calls (availability query + 10240-byte reads)
# and the native curl. Prints MB/s, the ratios, the progress messages the dialog received,
# and the peak memory for a 64 MiB and a 256 MiB file (it must not grow with the size).
# Then the installer download as the dialog makes it, into a private folder with DOWN_SIZE and
# DOWN_SHA256 checked before the start, against the same download without the keys: what the
# SHA-256 check adds to the install's wall time (target: at most 10%). Not part of the tests.
#   bench/download_bench.sh [runs per figure, default 3]
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
runs="${1:-3}"
cd "$repo"
source scripts/wine_env.sh
pick_windows_arch "$repo" bench
arch="$ZU_ARCH"

cmake --preset "$arch" >/dev/null
cmake --build --preset "$arch" -j2 --target download_bench >/dev/null
bench_exe="$repo/build/$arch/download_bench.exe"

work="$(mktemp -d "${TMPDIR:-/tmp}/zu-download-bench.XXXXXX")"
nginx_pid=""
source "$repo/scripts/wine_session.sh"
cleanup() {
  wine_session_stop
  if [ -n "$nginx_pid" ]; then
    kill "$nginx_pid" 2>/dev/null || true
    wait "$nginx_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/www" "$work/out" "$work/nginx-temp"
head -c $((64 * 1024 * 1024)) /dev/urandom >"$work/www/file64"
head -c $((256 * 1024 * 1024)) /dev/urandom >"$work/www/file256"
size256="$(stat -c %s "$work/www/file256")"
sha256_256="$(sha256sum "$work/www/file256" | cut -d' ' -f1)"

port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
# A server of its own: loopback only, no daemon, no master, no privileges, files in $work.
cat >"$work/nginx.conf" <<EOF
daemon off;
master_process off;
worker_processes 1;
pid $work/nginx.pid;
error_log $work/nginx-error.log warn;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $work/nginx-temp/body;
  proxy_temp_path $work/nginx-temp/proxy;
  fastcgi_temp_path $work/nginx-temp/fastcgi;
  uwsgi_temp_path $work/nginx-temp/uwsgi;
  scgi_temp_path $work/nginx-temp/scgi;
  sendfile on;
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:$port;
    root $work/www;
  }
}
EOF
nginx -p "$work" -c "$work/nginx.conf" &
nginx_pid=$!
for _ in $(seq 1 100); do
  curl -s -o /dev/null "http://127.0.0.1:$port/file64" -r 0-0 && break
  sleep 0.05
done

export ZU_NO_TEST_HTTP_SERVER=1
# One persistent wineserver spares every run a cold start; the dialog needs a display.
wine_session_start "$repo" "$arch"
out_unix="$work/out/download.bin"
out_windows="Z:${out_unix//\//\\}"

# One field of one figure line: field NAME LINE
field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p; s/^$1=\([^ ]*\).*/\1/p" <<<"$2" | head -n1; }

# One run of a Windows mode; prints its figure line after checking the bytes.
wine_run_once() {
  local mode="$1" file="$2" line
  line="$(tests/support/wine_run.sh "$bench_exe" "$mode" "http://127.0.0.1:$port/$file" \
          "$out_windows" | tr -d '\r')"
  [ "$(field ok "$line")" = 1 ] || { echo "download_bench: $mode failed: $line" >&2; exit 1; }
  cmp -s "$out_unix" "$work/www/$file" || { echo "download_bench: $mode: wrong bytes" >&2; exit 1; }
  rm -f "$out_unix"
  echo "$line"
}

# One installer download of file256 (checked: with DOWN_SIZE and DOWN_SHA256); its figure line.
installer_once() {
  local mode="$1" line
  line="$(tests/support/wine_run.sh "$bench_exe" "$mode" "http://127.0.0.1:$port/file256" \
          "$size256" "$sha256_256" | tr -d '\r')"
  [ "$(field ok "$line")" = 1 ] || { echo "download_bench: $mode failed: $line" >&2; exit 1; }
  echo "$line"
}

# Keeps the quicker of two installer figure lines (by whole seconds).
quicker() {
  if [ -z "$1" ] || awk -v a="$(field seconds "$2")" -v b="$(field seconds "$1")" \
                       'BEGIN { exit !(a < b) }'; then
    echo "$2"
  else
    echo "$1"
  fi
}

curl_once() {
  local file="$1" rate
  rate="$(curl -s -o "$out_unix" -w '%{speed_download}' "http://127.0.0.1:$port/$file")"
  cmp -s "$out_unix" "$work/www/$file" || { echo "download_bench: curl: wrong bytes" >&2; exit 1; }
  rm -f "$out_unix"
  echo "mode=curl ok=1 mb_per_s=$(awk -v r="$rate" 'BEGIN { printf "%.1f", r / 1e6 }')"
}

# Keeps the faster of two figure lines.
faster() {
  if [ -z "$1" ] || awk -v a="$(field mb_per_s "$2")" -v b="$(field mb_per_s "$1")" \
                       'BEGIN { exit !(a > b) }'; then
    echo "$2"
  else
    echo "$1"
  fi
}

echo "download benchmark: nginx on 127.0.0.1:$port, best of $runs rounds, MB = 10^6 bytes"
# The machine is shared: the ways take turns in every round, and each keeps its best round.
engine="" window="" bare="" bare_query="" curl_line="" engine64="" road="" road64=""
installer="" unchecked=""
for round in $(seq 1 "$runs"); do
  echo "  round $round of $runs" >&2
  # The install road and the loop it is measured against run back to back.
  bare_query="$(faster "$bare_query" "$(wine_run_once bare-query file256)")"
  road="$(faster "$road" "$(wine_run_once install-road file256)")"
  road64="$(faster "$road64" "$(wine_run_once install-road file64)")"
  engine="$(faster "$engine" "$(wine_run_once engine file256)")"
  bare="$(faster "$bare" "$(wine_run_once bare file256)")"
  window="$(faster "$window" "$(wine_run_once engine-window file256)")"
  curl_line="$(faster "$curl_line" "$(curl_once file256)")"
  engine64="$(faster "$engine64" "$(wine_run_once engine file64)")"
  installer="$(quicker "$installer" "$(installer_once installer)")"
  unchecked="$(quicker "$unchecked" "$(installer_once installer-unchecked)")"
done
curl_rate="$(field mb_per_s "$curl_line")"

engine_rate="$(field mb_per_s "$engine")"
window_rate="$(field mb_per_s "$window")"
bare_rate="$(field mb_per_s "$bare")"
bare_query_rate="$(field mb_per_s "$bare_query")"
road_rate="$(field mb_per_s "$road")"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f%%", 100 * a / b }'; }

printf '\n256 MiB file\n'
printf '  %-36s %8s MB/s  (%s progress messages received)\n' "launcher install road (dialog)" \
  "$road_rate" "$(field progress_messages "$road")"
printf '  %-36s %8s MB/s  (%s s CPU)\n' "engine, file mode, synchronous" "$engine_rate" \
  "$(field cpu_seconds "$engine")"
printf '  %-36s %8s MB/s  (%s progress messages)\n' "engine, file mode, window + messages" \
  "$window_rate" "$(field progress_messages "$window")"
printf '  %-36s %8s MB/s  (%s s CPU)\n' "bare WinINet loop, 10240-byte reads" "$bare_rate" \
  "$(field cpu_seconds "$bare")"
printf '  %-36s %8s MB/s  (%s s CPU)\n' "bare loop + availability query" "$bare_query_rate" \
  "$(field cpu_seconds "$bare_query")"
printf '  %-36s %8s MB/s\n' "native curl" "$curl_rate"
printf '\nratios\n'
printf '  install road / bare loop + query %s   (target: at least 95%%)\n' \
  "$(ratio "$road_rate" "$bare_query_rate")"
printf '  engine / bare loop             %s\n' "$(ratio "$engine_rate" "$bare_rate")"
printf '  engine with window / bare loop %s\n' "$(ratio "$window_rate" "$bare_rate")"
printf '  engine / bare loop + query     %s\n' "$(ratio "$engine_rate" "$bare_query_rate")"
printf '  engine / curl                  %s\n' "$(ratio "$engine_rate" "$curl_rate")"
printf '  bare loop / curl               %s\n' "$(ratio "$bare_rate" "$curl_rate")"
printf '\nengine peak memory (whole Wine process)\n'
printf '  %-10s working set %8s KiB   private %8s KiB\n' \
  "64 MiB" "$(field peak_working_set_kib "$engine64")" "$(field peak_private_kib "$engine64")" \
  "256 MiB" "$(field peak_working_set_kib "$engine")" "$(field peak_private_kib "$engine")"
printf '  bare loop, 256 MiB: working set %s KiB\n' "$(field peak_working_set_kib "$bare")"
printf '\ninstall road peak memory (whole Wine process)\n'
printf '  %-10s working set %8s KiB   private %8s KiB\n' \
  "64 MiB" "$(field peak_working_set_kib "$road64")" "$(field peak_private_kib "$road64")" \
  "256 MiB" "$(field peak_working_set_kib "$road")" "$(field peak_private_kib "$road")"
printf '\ninstaller download, 256 MiB, into a private folder (best round each)\n'
printf '  %-36s %8s s  (download %s s, check %s s)\n' "with DOWN_SIZE and DOWN_SHA256" \
  "$(field seconds "$installer")" "$(field download_seconds "$installer")" \
  "$(field check_seconds "$installer")"
printf '  %-36s %8s s  (download %s s, check %s s)\n' "without them" \
  "$(field seconds "$unchecked")" "$(field download_seconds "$unchecked")" \
  "$(field check_seconds "$unchecked")"
printf '  SHA-256 check / download, same run  %s%%   (target: at most 10%%)\n' \
  "$(field check_percent "$installer")"
printf '  checked / unchecked wall time      %s\n' \
  "$(ratio "$(field seconds "$installer")" "$(field seconds "$unchecked")")"
