#!/usr/bin/env bash
# Installs what the Windows cross-build and its tests under Wine need on a
# fresh Debian 12, only what is missing: the mingw-w64 cross-compilers, Wine,
# and a source entry for the machine's own suites so that the archive
# library's source can be fetched with apt-get source.
set -euo pipefail

PACKAGES="mingw-w64 wine wine64 dpkg-dev cmake make p7zip-full libgtest-dev"
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo

SOURCES_FILE=/etc/apt/sources.list.d/varnhold-deb-src.sources
need_update=0

# apt-get source needs deb-src lines; derive them from the binary entries
# (deb822 files and classic lines alike), so the same suites are used.
has_deb_src() {
  grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/
}
if ! has_deb_src; then
  tmp=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS=""; ORS="\n\n" }
         /(^|\n)Types:[^\n]*deb/ && /(^|\n)URIs:[^\n]*debian/ {
           sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f" >>"$tmp"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb [^#]*debian' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      awk '{ print "Types: deb-src\nURIs: " $2 "\nSuites: " $3 "\nComponents: " substr($0, index($0,$4)) "\n" }' >>"$tmp" || true
  fi
  echo "Adding source entries in $SOURCES_FILE"
  $SUDO install -m 644 "$tmp" "$SOURCES_FILE"
  rm -f "$tmp"
  need_update=1
fi

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed' || missing="$missing $p"
done
if [ -n "$missing" ] || [ "$need_update" = 1 ]; then
  $SUDO apt-get -o DPkg::Lock::Timeout=900 update
fi
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends $missing
fi
