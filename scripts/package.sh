#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package: build/kelo-chess_<version>_amd64.deb, and checks it with lintian.
#   scripts/package.sh [BUILD_FOLDER]
# The package is made from a release build without sanitizers; its dependencies come from the
# shared libraries the programs use (dpkg-shlibdeps) and the font the skin names.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
                                          -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELO_SANITIZE=OFF \
    "${launcher[@]}"
cmake --build "$build" -j"$(nproc)" --target kelo-chess kelo-record kelo-hall \
    kelo-table-server kelo-bot kelo-relay kelo_data
# Without debugging information the package is a tenth of the size.
(cd "$build" && cpack -G DEB -D CPACK_STRIP_FILES=ON)
ls "$build"/kelo-chess_*_amd64.deb
# Debian's own checks of the package: no error and no warning may stay.
if command -v lintian >/dev/null; then
    lintian --fail-on error,warning "$build"/kelo-chess_*_amd64.deb
fi
