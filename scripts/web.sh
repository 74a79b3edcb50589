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

# Compiles the C files in $sources (relative to the current folder) with
# $cflags, $(nproc) at a time, into the static archive $prefix/lib/libNAME.a.
# Straight emcc calls: the libraries' own CMake spends minutes probing emcc.
compile_archive() {   # NAME
  local name=$1 objects=$deps/build/$1
  mkdir -p "$objects" "$prefix/lib"
  echo "==> Compiling $name for the web (${#sources[@]} files)"
  # One object per source, named after its whole path: backends share names.
  printf '%s\n' "${sources[@]}" |
    xargs -P "$jobs" -I{} sh -c \
      'source=$0 objects=$1; shift; emcc "$@" -c "$source" -o "$objects/$(echo "$source" | tr / _).o"' \
      {} "$objects" "${cflags[@]}" >"$objects.log" 2>&1 ||
    { tail -n 40 "$objects.log" >&2; echo "web.sh: compiling $name failed" >&2; exit 1; }
  emar rcs "$prefix/lib/lib$name.a" "$objects"/*.o
}

# A CMake package for one library, with the imported target the game links.
write_package() {   # PACKAGE TARGET ARCHIVE [LINKED TARGET]
  mkdir -p "$prefix/lib/cmake/$1"
  cat >"$prefix/lib/cmake/$1/$1Config.cmake" <<CMAKE
# Written by scripts/web.sh for the library it compiled for the web.
if(NOT TARGET $2)
  get_filename_component(prefix "\${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
  add_library($2 STATIC IMPORTED)
  set_target_properties($2 PROPERTIES
    IMPORTED_LOCATION "\${prefix}/lib/$3"
    INTERFACE_INCLUDE_DIRECTORIES "\${prefix}/include;\${prefix}/include/SDL2"
    INTERFACE_LINK_LIBRARIES "${4:-}")
endif()
CMAKE
}

# SDL2 with its emscripten configuration as shipped: the browser's video,
# audio, joypads, timer and storage, the software and GLES2 renderers, and no
# threads (SDL_THREADS_DISABLED without -pthread), since the page runs the
# game on the browser's own thread.
build_sdl2() {
  local source d
  source=$(source_folder libsdl2)
  mkdir -p "$prefix/include/SDL2"
  find "$source/include" -maxdepth 1 -name '*.h' ! -name 'SDL_config*' \
    -exec cp {} "$prefix/include/SDL2/" \;
  cp "$source/include/SDL_config_emscripten.h" "$prefix/include/SDL2/SDL_config.h"
  cd "$source"
  # What SDL builds everywhere, then the backends its configuration names.
  sources=(src/*.c)
  for d in atomic audio cpuinfo dynapi events file haptic hidapi joystick libm locale misc \
           power render render/software render/opengles2 sensor stdlib thread timer video \
           video/yuv2rgb audio/emscripten audio/disk audio/dummy joystick/emscripten \
           filesystem/emscripten power/emscripten locale/emscripten misc/emscripten \
           video/emscripten timer/unix loadso/dlopen sensor/dummy haptic/dummy thread/generic; do
    sources+=(src/"$d"/*.c)
  done
  cflags=(-O2 -DNDEBUG -fno-strict-aliasing -I"$prefix/include/SDL2" -Isrc/video/khronos)
  compile_archive SDL2
  write_package SDL2 SDL2::SDL2-static libSDL2.a
}

# SDL2_image reading PNG with the stb_image it carries and writing it with its
# miniz: the pack's pictures and F12's are all PNG.
build_sdl2_image() {
  local source
  source=$(source_folder libsdl2-image)
  cd "$source"
  cp SDL_image.h "$prefix/include/SDL2/"
  sources=(IMG*.c)
  cflags=(-O2 -DNDEBUG -I"$prefix/include/SDL2" -DLOAD_PNG -DUSE_STBIMAGE -DSDL_IMAGE_SAVE_PNG=1)
  compile_archive SDL2_image
  write_package SDL2_image SDL2_image::SDL2_image-static libSDL2_image.a SDL2::SDL2-static
}

# SDL2_mixer playing WAV and Ogg Vorbis, the latter with the stb_vorbis it
# carries.
build_sdl2_mixer() {
  local source
  source=$(source_folder libsdl2-mixer)
  cd "$source"
  cp include/SDL_mixer.h "$prefix/include/SDL2/"
  sources=(src/*.c src/codecs/*.c)
  cflags=(-O2 -DNDEBUG -I"$prefix/include/SDL2" -Iinclude -Isrc -Isrc/codecs
          -DMUSIC_WAV -DMUSIC_OGG -DOGG_USE_STB)
  compile_archive SDL2_mixer
  write_package SDL2_mixer SDL2_mixer::SDL2_mixer-static libSDL2_mixer.a SDL2::SDL2-static
}

build_libraries() {
  local sdl image mixer wanted
  sdl=$(desktop_version libsdl2-dev)
  image=$(desktop_version libsdl2-image-dev)
  mixer=$(desktop_version libsdl2-mixer-dev)
  # The last word changes with the way they are built here.
  wanted="libsdl2 $sdl, libsdl2-image $image, libsdl2-mixer $mixer, $(emcc --version | sed -n 1p), direct emcc build"
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

  (build_sdl2)
  (build_sdl2_image)
  (build_sdl2_mixer)
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
