#!/bin/sh
# Builds the Debian package (tools/package.sh) and checks it: lintian
# without errors or warnings, the checkout left as the build found it, the
# files it installs, setup-site on a site of its own and the editor on a
# private X server, all run from the package unpacked into a temporary
# root, so the host's /usr and /etc stay untouched.
set -eu
cd "$(dirname "$0")/.."
sh tools/deps.sh xvfb xauth xdotool
before=$(git status --porcelain --untracked-files=all 2>/dev/null || true)
sh tools/package.sh
after=$(git status --porcelain --untracked-files=all 2>/dev/null || true)
if [ "$before" != "$after" ]; then
  echo "The package build changed the checkout:" >&2
  echo "$after" >&2
  exit 1
fi

deb="../radar-setup_$(dpkg-parsechangelog -S Version)_$(dpkg --print-architecture).deb"
lintian --info --pedantic --fail-on error,warning "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
usr="$root/usr"
for file in bin/setup bin/setup-site \
  share/man/man1/setup.1.gz share/man/man1/setup-site.1.gz share/man/man5/setup-files.5.gz \
  share/setup/tolvek share/setup/util_setup.pm share/setup/xm_hour32.bm share/setup/xm_hour32m.bm \
  share/setup/help/index.html share/setup/help/help.css \
  share/locale/de/LC_MESSAGES/quorbel-wr-common-.mo share/locale/de/LC_MESSAGES/quorbel-wr-util.mo \
  share/bash-completion/completions/setup-site \
  share/applications/radar-setup.desktop share/pixmaps/radar-setup.xpm; do
  [ -s "$usr/$file" ] || { echo "The package lacks /usr/$file" >&2; exit 1; }
done
for program in "$usr"/bin/*; do
  name=$(basename "$program")
  [ -f "$usr/share/man/man1/$name.1.gz" ] || { echo "/usr/bin/$name has no manual page" >&2; exit 1; }
done
# The setup directory belongs to the site: the package brings nothing there.
if [ "$(ls "$root")" != usr ]; then
  echo "The package installs outside /usr: $(ls "$root")" >&2
  exit 1
fi
desktop-file-validate "$usr/share/applications/radar-setup.desktop"
grep -q /etc/zamo/config "$usr/bin/setup-site" || { echo "setup-site does not default to /etc/zamo/config" >&2; exit 1; }

site="$root/site"
"$usr/bin/setup-site" init "$site"
"$usr/bin/setup-site" -C "$site" list >/dev/null
"$usr/bin/setup-site" -C "$site" check
sh tools/editor_maps.sh "$usr/bin/setup" "$site"
echo "Package $deb: all checks passed"
