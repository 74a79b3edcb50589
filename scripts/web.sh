#!/usr/bin/env bash
# Builds Zorbel as one web page into build-web/page/ with Debian's emscripten.
# SDL2, SDL2_image and SDL2_mixer come from Debian's source packages of the
# versions the desktop build uses, built once into build-web/deps/.
#   scripts/web.sh            build
#   scripts/web.sh --serve [PORT]   build, then serve the page on 127.0.0.1
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$root/build-web
deps=$out/deps
prefix=$deps/prefix
jobs=$(nproc)

serve=0
port=8017
if [[ ${1:-} == --serve ]]; then
  serve=1
  port=${2:-$port}
fi

"$root/scripts/install_packages.sh" --only emscripten dpkg-dev cmake make python3

# Debian's emcc runs its JS optimizer with the machine's node, which must find
# Debian's acorn; a node installed from elsewhere looks only in its own tree.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)

# deb-src entries copied from the machine's own Debian entries, so apt-get
# source fetches from the same mirror and suites as the binary packages.
add_source_entries() {
  apt-cache showsrc libsdl2 2>/dev/null | grep -q '^Package:' && return 0
  echo "==> Adding deb-src entries beside the machine's Debian entries"
  local sources lines
  sources=$(shopt -s nullglob; for f in /etc/apt/sources.list.d/*.sources; do
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[ \t]*deb([ \t]|\n|$)/ && /URIs:[^\n]*debian/ {
           sub(/Types:[ \t]*deb/, "Types: deb-src"); print }' "$f"
  done)
  lines=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
          sed -n 's/^[ \t]*deb\([ \t].*debian.*\)$/deb-src\1/p' || true)
  [[ -n $sources ]] && printf '%s\n' "$sources" |
    "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/zorbel-deb-src.sources >/dev/null
  [[ -n $lines ]] && printf '%s\n' "$lines" |
    "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/zorbel-deb-src.list >/dev/null
  if [[ -z $sources && -z $lines ]]; then
    echo "web.sh: no Debian entry found in /etc/apt/sources.list*" >&2
    exit 1
  fi
  "${sudo_cmd[@]}" apt-get update -q
}

# The version the desktop build links: installed, else what apt would install.
desktop_version() {
  local version
  version=$(dpkg-query -W -f='${Version}' "$1" 2>/dev/null || true)
  [[ -n $version ]] || version=$(apt-cache policy "$1" | awk '/Candidate:/ { print $2 }')
  echo "${version%+b[0-9]*}"   # a binary-only rebuild (+b1) has its source's version
}

# Unpacked source folder of a Debian source package.
source_folder() {
  local found
  found=$(find "$deps/src" -mindepth 1 -maxdepth 1 -type d -name "$1-[0-9]*" | head -n 1)
  [[ -n $found ]] || { echo "web.sh: no source folder for $1" >&2; exit 1; }
  echo "$found"
}

build_library() {   # NAME SOURCE [CMAKE OPTION...]
  local name=$1 source=$2
  shift 2
  echo "==> Building $name for the web"
  emcmake cmake -S "$source" -B "$deps/build/$name" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" >"$deps/build/$name.log"
  cmake --build "$deps/build/$name" -j "$jobs" >>"$deps/build/$name.log"
  cmake --install "$deps/build/$name" >>"$deps/build/$name.log"
}

build_libraries() {
  local sdl image mixer wanted
  sdl=$(desktop_version libsdl2-dev)
  image=$(desktop_version libsdl2-image-dev)
  mixer=$(desktop_version libsdl2-mixer-dev)
  wanted="libsdl2 $sdl, libsdl2-image $image, libsdl2-mixer $mixer, $(emcc --version | sed -n 1p)"
  if [[ -f $deps/built && $(cat "$deps/built") == "$wanted" ]]; then
    echo "==> SDL2 libraries for the web already built ($wanted)"
    return
  fi
  add_source_entries
  rm -rf "$deps"
  mkdir -p "$deps/src" "$deps/build"
  echo "==> Fetching Debian's sources: $wanted"
  (cd "$deps/src" && apt-get source -q libsdl2="$sdl" libsdl2-image="$image" \
    libsdl2-mixer="$mixer" >"$deps/src.log" 2>&1) || { cat "$deps/src.log" >&2; exit 1; }

  # No threads: the page runs the game on the browser's own thread.
  build_library sdl2 "$(source_folder libsdl2)" -DSDL_SHARED=OFF -DSDL_STATIC=ON \
    -DSDL_TEST=OFF -DSDL_THREADS=OFF
  # The decoders carried inside: stb_image for PNG and JPEG, stb_vorbis for Ogg.
  build_library sdl2_image "$(source_folder libsdl2-image)" -DSDL2_DIR="$prefix/lib/cmake/SDL2" \
    -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_DEPS_SHARED=OFF \
    -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF \
    -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_SVG=OFF
  build_library sdl2_mixer "$(source_folder libsdl2-mixer)" -DSDL2_DIR="$prefix/lib/cmake/SDL2" \
    -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF \
    -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF \
    -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_CMD=OFF
  echo "$wanted" >"$deps/built"
}

build_libraries

echo "==> Configuring the page (build-web/game/)"
emcmake cmake -S "$root" -B "$out/game" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DSDL2_DIR="$prefix/lib/cmake/SDL2" -DSDL2_image_DIR="$prefix/lib/cmake/SDL2_image" \
  -DSDL2_mixer_DIR="$prefix/lib/cmake/SDL2_mixer" >/dev/null
echo "==> Building the page with $jobs jobs"
cmake --build "$out/game" -j "$jobs" --target zorbel

rm -rf "$out/page"
mkdir -p "$out/page"
cp "$out/game/zorbel.html" "$out/page/index.html"
cp "$out/game/zorbel.js" "$out/game/zorbel.wasm" "$out/game/zorbel.data" "$out/page/"
echo "==> The page is in $out/page ($(du -sh --apparent-size "$out/page" | cut -f1))"

if ((serve)); then
  echo "==> Serving http://127.0.0.1:$port/ (Ctrl+C ends)"
  exec python3 -m http.server --bind 127.0.0.1 --directory "$out/page" "$port"
fi
