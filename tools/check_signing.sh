#!/usr/bin/env bash
# Signs copies of a server and of an MSI with a throwaway certificate through scripts/sign.sh:
# both verify, and each fails verification with one byte changed.
# usage: check_signing.sh SERVER.ocx PACKAGE.msi
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
check() {
  if eval "$1"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "signing: failed: $2"; fi
}
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 1 \
  -subj "/CN=Delvorin (teste)" -addext extendedKeyUsage=codeSigning >/dev/null 2>&1
export DELVORIN_SIGN_CERT=$work/cert.pem DELVORIN_SIGN_KEY=$work/key.pem
for source in "$1" "$2"; do
  file=$work/$(basename "$source")
  cp "$source" "$file"
  check '"$root/scripts/sign.sh" "$file" >/dev/null' "signing $(basename "$file")"
  check 'osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >/dev/null 2>&1' "$(basename "$file") verifies"
  check '! cmp -s "$source" "$file"' "$(basename "$file") carries a signature"
  # One byte of the signed content changed: in the server's code, in the package's string pool.
  python3 - "$file" "$work/changed" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
at = data.find(b"Delvorin2.X.manifest") if sys.argv[1].endswith(".msi") else 0x1000
data[at] ^= 1
open(sys.argv[2], "wb").write(data)
PY
  check '! osslsigncode verify -CAfile "$work/cert.pem" -in "$work/changed" >/dev/null 2>&1' \
    "$(basename "$file") with one byte changed still verifies"
done
# Without a certificate nothing is signed.
check '! env -u DELVORIN_SIGN_CERT "$root/scripts/sign.sh" "$work/changed" >/dev/null 2>&1' "signing without a certificate"
echo "signing: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
