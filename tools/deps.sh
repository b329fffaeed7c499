#!/bin/sh
# Installs what the editor needs to build, run and be tested (Debian, as
# root), or the packages named as arguments. Only packages that are missing
# are installed; packages already installed are left as they are, never
# upgraded.
set -eu
# libncurses-dev builds the terminal editor, and tmux drives it in its tests;
# libxml2-dev and groff check the help and manual pages in the tests;
# xdg-utils and dillo, a light browser, let the Help menus work by default;
# ansible-core runs the Ansible modules' playbook test; locales has the
# German locale's source, which the comma-locale tests compile.
packages="g++ cmake make pkg-config
  libmotif-dev libxt-dev libx11-dev libxpm-dev zlib1g-dev gettext
  nlohmann-json3-dev
  googletest libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick xfonts-base xfonts-75dpi xfonts-100dpi fonts-dejavu-core
  libncurses-dev tmux
  libxml2-dev groff-base
  xdg-utils dillo
  ansible-core locales
  clang libclang-rt-14-dev"  # clang with libFuzzer: the setup-file fuzzer (tools/fuzz.sh)
[ $# -eq 0 ] || packages="$*"

missing=""
for package in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update
# shellcheck disable=SC2086 # one word per package
apt-get install -y --no-install-recommends --no-upgrade $missing
