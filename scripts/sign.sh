#!/usr/bin/env bash
# Signs files in place with Authenticode (SHA-256) and verifies each: servers (.ocx) and MSI
# packages. The certificate and its key are the PEM files DELVORIN_SIGN_CERT and
# DELVORIN_SIGN_KEY; DELVORIN_SIGN_CAFILE names the chain to verify against (by default the
# certificate itself, as for a self-signed one) and DELVORIN_SIGN_TIMESTAMP a time-stamping
# server, when one is wanted.
set -euo pipefail
: "${DELVORIN_SIGN_CERT:?names the signing certificate (PEM)}"
: "${DELVORIN_SIGN_KEY:?names the private key of the certificate (PEM)}"
cafile=${DELVORIN_SIGN_CAFILE:-$DELVORIN_SIGN_CERT}
stamp=()
[ -n "${DELVORIN_SIGN_TIMESTAMP:-}" ] && stamp=(-t "$DELVORIN_SIGN_TIMESTAMP")
for file in "$@"; do
  log=$(mktemp)
  if ! osslsigncode sign -certs "$DELVORIN_SIGN_CERT" -key "$DELVORIN_SIGN_KEY" -h sha256 -n Delvorin2 \
         "${stamp[@]}" -in "$file" -out "$file.signed" >"$log" 2>&1 ||
     ! osslsigncode verify -CAfile "$cafile" -in "$file.signed" >>"$log" 2>&1; then
    echo "failed: signing $file; the end of osslsigncode's output:" >&2
    tail -n 20 "$log" | sed 's/^/  | /' >&2
    rm -f "$log" "$file.signed"
    exit 1
  fi
  rm -f "$log"
  mv "$file.signed" "$file"
  echo "signed and verified: $file"
done
