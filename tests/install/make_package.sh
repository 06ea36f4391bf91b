#!/usr/bin/env bash
# make_package.sh CPACK BUILD_DIR SCRATCH
# Makes the Debian package of the build tree with CPack and unpacks it into SCRATCH/root as
# dpkg would install it; SCRATCH/oplix-test.deb names the package for the checks that follow.
set -euo pipefail
cpack=$1
build=$2
scratch=$3

rm -rf "$scratch"
mkdir -p "$scratch"
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    exit 1
fi
shopt -s nullglob
packages=("$scratch"/out/oplix-test_*.deb)
if [ ${#packages[@]} -ne 1 ]; then
    echo "expected one oplix-test package, cpack made: $(ls "$scratch/out")"
    exit 1
fi
ln -s "${packages[0]}" "$scratch/oplix-test.deb"
dpkg-deb -x "$scratch/oplix-test.deb" "$scratch/root"
echo "unpacked $(basename "${packages[0]}") into $scratch/root"
