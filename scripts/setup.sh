#!/usr/bin/env bash
# Installs what building, testing and running need, from Debian's packages; installs
# only what is missing. Needs root or sudo.
set -euo pipefail

packages=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
          googletest nlohmann-json3-dev wine wine64 fonts-wine xvfb xauth imagemagick clang lld
          wixl msitools openssl clang-format g++)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
# osslsigncode signs the package for Windows 11's menu from version 2.7 on; Debian 12's own is
# 2.5, its backports carry a later one.
signer="$(dpkg-query -W -f='${Version}' osslsigncode 2>/dev/null || true)"
old_signer=false
if [ -z "$signer" ] || dpkg --compare-versions "$signer" lt 2.7; then
    old_signer=true
fi
[ ${#missing[@]} -eq 0 ] && ! $old_signer && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
install=(env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends)
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo "${install[@]}" "${missing[@]}"
fi
if $old_signer; then
    from=()
    . /etc/os-release
    if [ "${VERSION_CODENAME:-}" = bookworm ]; then
        if ! apt-cache policy | grep -q "bookworm-backports"; then
            echo "Adding Debian's bookworm-backports for osslsigncode 2.7 or later"
            printf '%s\n' "Types: deb" "URIs: http://deb.debian.org/debian" \
                "Suites: bookworm-backports" "Components: main" \
                "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
                $sudo tee /etc/apt/sources.list.d/bookworm-backports.sources >/dev/null
            $sudo apt-get update -qq
        fi
        from=(-t bookworm-backports)
    fi
    echo "Installing: osslsigncode ${from[*]}"
    $sudo "${install[@]}" "${from[@]}" osslsigncode
    signer="$(dpkg-query -W -f='${Version}' osslsigncode 2>/dev/null || true)"
    if dpkg --compare-versions "${signer:-0}" lt 2.7; then
        echo "osslsigncode ${signer:-(none)} cannot sign the package for Windows 11's menu;" \
             "2.7 or later is needed (scripts/sign.sh)" >&2
    fi
fi
