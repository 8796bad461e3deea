# Sourced by the scripts and by tests/support/wine_run.sh: which Windows architectures this
# machine can run under Wine, and the Wine environment of one of them.
#
# win32 is the shipped launcher; it needs a machine that executes 32-bit x86 code, which not
# every machine does (there every i386 binary fails with "Exec format error", Wine's 32-bit
# loader included). win64 runs under 64-bit Wine everywhere. Each architecture has a prefix of
# its own, so the tests' registry keys never meet WoW64's redirected view.

# True when this machine executes 32-bit x86 code and ZU_ASSUME_NO_WIN32 is not 1. Sets
# ZU_WIN32_REASON to a few words saying why not. The probe is a 93-byte i386 ELF program that
# only exits 0: it needs no 32-bit package, so it answers before anything is installed.
machine_runs_win32() {
  local repo="$1"
  ZU_WIN32_REASON=""
  if [ "${ZU_ASSUME_NO_WIN32:-0}" = 1 ]; then
    ZU_WIN32_REASON="is taken as unable to run 32-bit code (ZU_ASSUME_NO_WIN32=1)"
    return 1
  fi
  local probe="$repo/build/probe-i386"
  if [ ! -x "$probe" ]; then
    mkdir -p "$repo/build"
    # ELF header (52 bytes), one loadable segment (32 bytes), then: mov eax,1; xor ebx,ebx;
    # int 0x80 (the exit system call with status 0).
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000'`
          `'\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000'`
          `'\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000'`
          `'\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010'`
          `'\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000'`
          `'\270\001\000\000\000\061\333\315\200' >"$probe.new"
    chmod +x "$probe.new"
    mv "$probe.new" "$probe"
  fi
  local output
  if output="$("$probe" 2>&1)"; then
    return 0
  fi
  ZU_WIN32_REASON="cannot execute 32-bit x86 code (${output##*: })"
  return 1
}

# Exports the Wine environment of ARCH (win32 or win64; default ZU_WINE_ARCH, else win32).
wine_use_arch() {
  local repo="$1" arch="${2:-${ZU_WINE_ARCH:-win32}}"
  export ZU_WINE_ARCH="$arch"
  case "$arch" in
    win32)
      if [ "${ZU_WINE_WOW64:-0}" = 1 ]; then
        # 32-bit programs in the 64-bit prefix, as on 64-bit Windows: both registry views.
        export WINEPREFIX="$repo/build/wineprefix64"
        export WINEARCH=win64
        export WINELOADER=/usr/lib/wine/wine
        export WINESERVER=/usr/lib/wine/wineserver64
      else
        export WINEPREFIX="$repo/build/wineprefix"
        export WINEARCH=win32
        unset WINELOADER WINESERVER
      fi
      ;;
    win64)
      export WINEPREFIX="$repo/build/wineprefix64"
      export WINEARCH=win64
      export WINELOADER=/usr/lib/wine/wine64
      export WINESERVER=/usr/lib/wine/wineserver64
      case ":$PATH:" in
        *":$repo/scripts/wine64:"*) ;;
        *) export PATH="$repo/scripts/wine64:$PATH" ;;
      esac
      ;;
    *)
      echo "wine_env.sh: unknown Windows architecture '$arch' (win32 or win64)" >&2
      return 1
      ;;
  esac
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  [ -d "$repo/build/locales" ] && export LOCPATH="${LOCPATH:-$repo/build/locales}"
  return 0
}

# The architecture a single-road script (the demo, the benches) runs: win32, the shipped
# launcher, where this machine can run it, else win64. Prints it, and why, on one line.
pick_windows_arch() {
  local repo="$1" who="$2"
  if machine_runs_win32 "$repo"; then
    ZU_ARCH=win32
    echo "$who: the 32-bit road (the shipped launcher, win32 build)"
  else
    ZU_ARCH=win64
    echo "$who: the 64-bit road (win64 build): this machine $ZU_WIN32_REASON"
  fi
}
