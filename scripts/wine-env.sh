# Sourced by every script that runs Windows programs under Wine: the one place that decides which
# Windows architectures this machine can run, and with which loader.
#
# Debian's wine, wineboot and winepath wrappers always pick the 32-bit loader when wine32 is
# installed, so on a kernel that runs no 32-bit programs they fail even for a 64-bit prefix. The
# scripts therefore never call them: each architecture has its loader (`wine_loader`), which runs
# wineboot, regsvr32, cscript and the programs themselves, and Windows paths are made here.
#
# The probe starts each loader once. DELVORIN_WINE_ARCHS (e.g. "win64", or "win32 win64")
# overrides it; DELVORIN_WINE32_LOADER and DELVORIN_WINE64_LOADER name other loaders (pointing
# one at /bin/false gives a machine that cannot run that architecture).

wine_loader() {
  case $1 in
    win32) echo "${DELVORIN_WINE32_LOADER:-/usr/lib/wine/wine}" ;;
    win64) echo "${DELVORIN_WINE64_LOADER:-/usr/lib/wine/wine64}" ;;
    *) echo "wine-env: unknown architecture '$1' (win32 or win64)" >&2; return 2 ;;
  esac
}

# Why ARCH cannot run here; empty (and status 0) when it can.
wine_why_not() {
  local arch=$1 loader bits out status
  loader=$(wine_loader "$arch") || return 2
  bits=${arch#win}
  if [ -n "${DELVORIN_WINE_ARCHS:-}" ]; then
    case " ${DELVORIN_WINE_ARCHS//,/ } " in
      *" $arch "*) return 0 ;;
      *) echo "DELVORIN_WINE_ARCHS=$DELVORIN_WINE_ARCHS leaves them out"; return 1 ;;
    esac
  fi
  if [ ! -x "$loader" ]; then
    echo "Wine's $bits-bit loader ($loader) is not installed"
    return 1
  fi
  out=$("$loader" --version 2>&1) && return 0
  status=$?
  # 126: the kernel refused the loader itself (exec format error).
  if [ "$status" -eq 126 ] || [[ $out == *"format error"* ]]; then
    echo "this machine runs no $bits-bit programs"
  else
    echo "Wine's $bits-bit loader $loader fails (exit status $status: ${out%%$'\n'*})"
  fi
  return 1
}

# The architectures this machine can run, in the order win32 win64, one line.
wine_archs() {
  local arch list=""
  for arch in win32 win64; do
    wine_why_not "$arch" >/dev/null && list+="${list:+ }$arch"
  done
  echo "$list"
}

# Exits with a clear message when ARCH cannot run here.
wine_require() {
  local why
  why=$(wine_why_not "$1") && return 0
  echo "$1: cannot run here: $why" >&2
  exit 1
}

# The Windows path of a file of this machine (Wine's Z: drive is the root).
wine_path() {
  local p
  p=$(realpath -m "$1")
  echo "Z:${p//\//\\}"
}

# Runs a step with its output kept; on failure prints what failed, its exit status and the tail
# of its output, and returns that status.
wine_step() {
  local what=$1 log status
  shift
  log=$(mktemp)
  if "$@" >"$log" 2>&1; then
    rm -f "$log"
    return 0
  else
    status=$?
  fi
  echo "failed: $what (exit status $status); the end of its output:" >&2
  tail -n 40 "$log" | tr -d '\r' | sed 's/^/  | /' >&2
  rm -f "$log"
  return "$status"
}

# Points WINEPREFIX at DIR for ARCH, stops a window server left there (one started on another
# display would not draw on this one) and makes the prefix when it is not yet made.
wine_prefix() {
  local arch=$1 dir=$2 loader
  loader=$(wine_loader "$arch") || return 2
  export WINEPREFIX=$dir WINEARCH=$arch WINEDEBUG=${WINEDEBUG:--all}
  wineserver -k 2>/dev/null || true
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  wine_step "making the $arch Wine prefix $dir ($loader wineboot -i)" timeout 300 "$loader" wineboot -i
}
