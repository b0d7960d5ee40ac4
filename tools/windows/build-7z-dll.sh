#!/usr/bin/env bash
# Builds the Windows archive library 7z.dll from Debian's p7zip source
# package (7-Zip's own source) with the mingw-w64 cross-compiler, once per
# output folder: a 7z.dll already there is kept.
#   build-7z-dll.sh OUTPUT_DIR
set -euo pipefail

VERSION=16.02+really26.02+dfsg-0+deb12u1
out=$(realpath -m "$1")
dll="$out/7z.dll"
if [ -s "$dll" ]; then
  echo "Using $dll"
  exit 0
fi
mkdir -p "$out"
cd "$out"
src=$(find . -maxdepth 1 -type d -name 'p7zip-*' | head -n 1)
if [ -z "$src" ]; then
  apt-get source --download-only "p7zip=$VERSION" >/dev/null
  # Unpacked without the Debian patches: they only adapt the Linux build.
  dpkg-source --no-copy --skip-patches -x p7zip_*.dsc p7zip-src >/dev/null
  src=./p7zip-src
fi
jobs=$(nproc)
cd "$src/CPP/7zip/Bundles/Format7zF"
# Debian's source lacks the RAR decoders, as its own build does.
make -j "$jobs" -f ../../cmpl_gcc.mak DISABLE_RAR_COMPRESS=1 IS_MINGW=1 MSYSTEM=1 IS_X64=1 PLATFORM=x64 \
  CROSS_COMPILE=x86_64-w64-mingw32- CC=x86_64-w64-mingw32-gcc-posix \
  CXX=x86_64-w64-mingw32-g++-posix RC=x86_64-w64-mingw32-windres >"$out/build.log" 2>&1 ||
  { tail -n 40 "$out/build.log"; exit 1; }
built=$(find . -name 7z.dll -newer ../../cmpl_gcc.mak | head -n 1)
[ -n "$built" ] || { echo "7z.dll was not built" >&2; exit 1; }
x86_64-w64-mingw32-strip -o "$dll.part" "$built"
mv "$dll.part" "$dll"
echo "Built $dll"
