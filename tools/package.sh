#!/bin/sh
# Builds the Debian package radar-setup with Debian's own tools, as
# "dpkg-buildpackage -b -us -uc" in the checkout: the .deb lands in the
# parent directory. Installs the build dependencies that are missing first
# (Debian, as root). Extra arguments go to dpkg-buildpackage.
set -eu
cd "$(dirname "$0")/.."
# Debian's tools, lintian and desktop-file-utils to check the result, and
# the Build-Depends of debian/control, read from it (versions left out).
build_depends=$(sed -n '/^Build-Depends:/,/^[^ ]/{s/^Build-Depends://;/^[^ ]/d;p}' debian/control |
  tr ',' '\n' | sed 's/(.*)//; s/^ *//; s/ *$//; /^$/d; s/^debhelper-compat$/debhelper/')
# shellcheck disable=SC2086 # one word per package
sh tools/deps.sh dpkg-dev debhelper lintian desktop-file-utils make $build_depends
export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-parallel=$(nproc)}"
dpkg-buildpackage -b -us -uc "$@"
