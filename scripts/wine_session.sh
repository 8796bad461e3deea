# Sourced by the test and demo scripts: one Xvfb display and one persistent wineserver
# for the whole session, both stopped by wine_session_stop.
#   wine_session_start REPO [win32|win64]   (default: ZU_WINE_ARCH, else win32)
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"

wine_session_start() {
  local repo="$1"
  wine_use_arch "$repo" "${2:-}" || return 1
  ZU_STARTED_XVFB=""
  if [ -z "${DISPLAY:-}" ]; then
    local display
    for display in $(seq 90 120); do
      [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
      Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      ZU_STARTED_XVFB=$!
      export DISPLAY=":$display"
      break
    done
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break
      sleep 0.1
    done
  fi
  wineserver -p
}

wine_session_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "${ZU_STARTED_XVFB:-}" ]; then
    kill "$ZU_STARTED_XVFB" 2>/dev/null || true
    wait "$ZU_STARTED_XVFB" 2>/dev/null || true
  fi
}
