#!/bin/sh
# Usage: package_roundtrip.sh [DEB]
# Installs the package for real (dpkg -i), writes a factory site into the
# default setup directory /etc/zamo/config unless one is there, runs
# setup-site and the editor on it, purges the package (dpkg --purge) and
# checks that nothing of the package is left but the site's setup files,
# unchanged. A site this script wrote is removed at the end; one that was
# there before is left as it was. Builds the package first without DEB.
# It changes the host (as root): not part of the tests, and it refuses to
# run where radar-setup is installed.
set -eu
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
  deb=$1
else
  sh tools/package.sh
  deb="../radar-setup_$(dpkg-parsechangelog -S Version)_$(dpkg --print-architecture).deb"
fi
installed() { dpkg-query -W -f='${Status}' radar-setup 2>/dev/null | grep -qv not-installed; }
if installed; then
  echo "radar-setup is installed here: not touching it" >&2
  exit 1
fi
config=/etc/zamo/config
own_site=false
[ -e "$config" ] || own_site=true
sums() { (cd "$config" && find . -type f -exec md5sum {} + | sort); }
# Whatever happens, the host ends as it was: the package purged, and the
# site this script wrote removed.
finish() {
  if installed; then dpkg --purge radar-setup >/dev/null || true; fi
  if $own_site; then
    rm -rf "$config"
    rmdir /etc/zamo 2>/dev/null || true
  fi
}
trap finish EXIT
site=""
$own_site || site=$(sums)

# Install, with the dependencies that are missing. The package's programs
# by their path: another installation may come first on PATH.
export DEBIAN_FRONTEND=noninteractive
dpkg -i "$deb" || apt-get install -f -y --no-install-recommends
files=$(dpkg-query -L radar-setup)
if $own_site; then
  /usr/bin/setup-site init
  site=$(sums)
fi
/usr/bin/setup-site list >/dev/null
/usr/bin/setup-site check
sh tools/editor_maps.sh /usr/bin/setup

dpkg --purge radar-setup
failed=0
if installed; then
  echo "dpkg still knows radar-setup after the purge" >&2
  failed=1
fi
# Every file of the package is gone; a directory only stays for other packages.
for path in $files; do
  [ "$path" = /. ] && continue
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    dpkg-query -S "$path" >/dev/null 2>&1 && continue
  elif [ ! -e "$path" ] && [ ! -L "$path" ]; then
    continue
  fi
  echo "Left after the purge: $path" >&2
  failed=1
done
if [ "$(sums)" != "$site" ]; then
  echo "The package changed the site's setup files in $config" >&2
  failed=1
fi
echo "After the purge, the site's setup files in $config:"
ls -l "$config"
[ $failed -eq 0 ] && echo "Round trip of $deb: nothing left but the site's setup files"
exit $failed
