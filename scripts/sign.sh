#!/usr/bin/env bash
# Signs a release with Authenticode: scripts/sign.sh CERT.pfx [TIMESTAMP_URL]
# Makes the release files again (as scripts/package.sh does, from the build in build/ or
# $VELQUIN_BUILD) with velquin.exe, velquin-cli.exe and velquin-shell.dll signed inside the zip
# and the MSI, and the MSI itself signed; the package for Windows 11's menu is written again
# with the certificate's subject as its publisher (Windows requires the two to match) and
# signed (osslsigncode 2.7 or later). SHA256SUMS and the manifests then carry the signed files'
# checksums.
# The certificate's password comes from $VELQUIN_SIGN_PASSWORD (none if unset). With an
# RFC 3161 time-stamp server the signatures outlive the certificate. The files go to
# $VELQUIN_RELEASE_DIR if set, else beside the build's own.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELQUIN_BUILD:-$root/build}"
if [ $# -lt 1 ] || [ $# -gt 2 ] || [ ! -f "$1" ]; then
    echo "usage: scripts/sign.sh CERT.pfx [TIMESTAMP_URL]" >&2
    exit 2
fi
if [ ! -f "$build/packaging/release_config.cmake" ]; then
    echo "No configured build in $build: run scripts/package.sh first" >&2
    exit 1
fi
pfx="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
secret="$(mktemp -d)"
trap 'rm -rf "$secret"' EXIT
passfile=""
if [ -n "${VELQUIN_SIGN_PASSWORD:-}" ]; then
    passfile="$secret/password"
    (umask 077 && printf '%s' "$VELQUIN_SIGN_PASSWORD" >"$passfile")
fi
# The subject as Windows writes it: most specific part first, ", " between the parts.
publisher="$(openssl pkcs12 -in "$pfx" -nokeys -clcerts -passin "file:${passfile:-/dev/null}" |
             openssl x509 -noout -subject -nameopt sep_comma_plus_space,dn_rev,utf8,sname)"
publisher="${publisher#subject=}"
publisher="${publisher# }"
if [ -z "$publisher" ]; then
    echo "Could not read the certificate's subject from $pfx" >&2
    exit 1
fi
out="${VELQUIN_RELEASE_DIR:-$build}"
mkdir -p "$out"
cmake -DBUILD="$build" -DOUT="$(cd "$out" && pwd)" -DVELQUIN_SIGN_PFX="$pfx" \
      -DVELQUIN_SIGN_PASSFILE="$passfile" -DVELQUIN_SIGN_TIMESTAMP="${2:-}" \
      -DVELQUIN_SIGN_PUBLISHER="$publisher" \
      -P "$root/cmake/package_release.cmake"
