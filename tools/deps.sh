#!/bin/sh
# Installs what the editor needs to build, run and be tested (Debian, as root).
set -eu
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  g++ cmake make pkg-config \
  libmotif-dev libxt-dev libx11-dev libxpm-dev zlib1g-dev gettext \
  googletest libgtest-dev libbenchmark-dev \
  xvfb xauth xdotool x11-utils imagemagick xfonts-base xfonts-75dpi xfonts-100dpi fonts-dejavu-core
# The setup-file fuzzer (tools/fuzz.sh) needs clang with libFuzzer.
if ! command -v clang++ >/dev/null 2>&1 || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  apt-get install -y --no-install-recommends clang libclang-rt-14-dev
fi
