#!/usr/bin/env bash
# Installs what building, running and testing need, when it is missing.
set -euo pipefail

# prosody and python3-slixmpp: the private XMPP server and the scripted desk
# phone that the messaging tests talk to (scripts/prosody.sh, suite/phone).
# fonts-wine: Wine's own fonts, Marlett among them (caption buttons, menu checks).
packages=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 fonts-wine xvfb xauth x11-utils
          imagemagick googletest python3 prosody python3-slixmpp)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
