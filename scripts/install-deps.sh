#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, when any is missing.
set -euo pipefail
packages=(cmake g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev mingw-w64 mingw-w64-tools
          python3 wine wine32:i386 wine64 libwine-dev xvfb wixl msitools osslsigncode openssl)
# Wine's 32-bit half comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd dpkg --add-architecture i386
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  log=$(mktemp)
  if ! { $sudo_cmd apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"; } >"$log" 2>&1; then
    echo "failed: installing the packages; the end of apt-get's output:" >&2
    tail -n 30 "$log" | sed 's/^/  | /' >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
fi
