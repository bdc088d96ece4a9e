#!/usr/bin/env bash
# Builds both servers and writes dist/: for each architecture the server and its assembly
# manifest (dist/x86/, dist/x64/), an MSI per machine and one per user, SHA256SUMS and the
# installation notes. With DELVORIN_SIGN_CERT and DELVORIN_SIGN_KEY set, the servers and the
# packages are signed and verified (scripts/sign.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
signing=no
if [ -n "${DELVORIN_SIGN_CERT:-}" ] || [ -n "${DELVORIN_SIGN_KEY:-}" ]; then
  [ -f "${DELVORIN_SIGN_CERT:-}" ] && [ -f "${DELVORIN_SIGN_KEY:-}" ] || {
    echo "DELVORIN_SIGN_CERT and DELVORIN_SIGN_KEY must both name files" >&2
    exit 1
  }
  signing=yes
fi
version=$(python3 tools/registration.py version)
rm -rf dist
mkdir -p dist
for pair in win32:x86 win64:x64; do
  arch=${pair%:*} platform=${pair#*:}
  echo "== $arch server"
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" --target Delvorin2 registration_files >/dev/null
  mkdir -p "dist/$platform"
  cp "build/$arch/ocx/Delvorin2.ocx" "build/$arch/ocx/Delvorin2.X.manifest" "dist/$platform/"
  # For hosts that make an activation context themselves (an Office macro, a plug-in).
  python3 tools/registration.py application "$arch" Delvorin2.App "dist/$platform/Delvorin2.App.manifest"
  if [ "$signing" = yes ]; then scripts/sign.sh "dist/$platform/Delvorin2.ocx"; fi
  # The packages hold the (signed) server of dist/; their WiX sources are not kept.
  for scope in machine user; do
    msi=dist/Delvorin2-$version-$platform.msi
    [ "$scope" = user ] && msi=dist/Delvorin2-$version-$platform-usuario.msi
    python3 tools/registration.py msi "$arch" "$scope" "dist/$platform" "$msi"
    rm -f "${msi%.msi}.wxs"
    if [ "$signing" = yes ]; then scripts/sign.sh "$msi"; fi
  done
done
# The installation notes are the README's section "Instalação".
awk '/^## Instalação/ {on = 1} on && /^## / && !/^## Instalação/ {exit} on' README.md > dist/INSTALACAO.txt
(cd dist && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | sort | xargs sha256sum > SHA256SUMS)
echo "== dist/ (signed: $signing)"
(cd dist && find . -type f | sed 's|^\./||' | sort | xargs ls -l | awk '{printf "  %9d  %s\n", $5, $9}')
