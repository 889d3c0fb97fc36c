#!/usr/bin/env bash
# Builds Korvane for 64-bit Windows on this Debian machine, from the same sources as the Linux
# build: the MinGW-w64 toolchain with Qt, RtMidi and GoogleTest for Windows is built once into a
# cache outside the work tree (and again only when its inputs change), then korvane.exe and
# korvane-vsp.exe are built in build-windows/, the whole test suite runs under Wine on the
# offscreen platform, and CPack's NSIS generator makes the installer.
#
#   scripts/windows.sh [toolchain|build|test|package|installed|all|current]    (default: all)
#   (installed: install with the installer and start the installed program, without the suite)
#   (current: exit 0 when the cached toolchain is up to date, 1 when it must be built)
#
# The cache lives in $KORVANE_WINDOWS_CACHE, by default ~/.cache/korvane-windows. Its first build
# compiles Qt and takes about an hour on two cores.
set -euo pipefail
script=$(realpath "$0")
cd "$(dirname "$script")/.."
source_dir=$PWD
step=${1:-all}
cache=${KORVANE_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/korvane-windows}
prefix=$cache/prefix
build=$source_dir/build-windows
triplet=x86_64-w64-mingw32
jobs=$(nproc)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

install_packages() {
  local packages=(build-essential cmake ninja-build pkg-config dpkg-dev
    g++-mingw-w64-x86-64-posix wine64 nsis googletest qt6-base-dev qt6-base-dev-tools fonts-dejavu-core tcl)
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    as_root apt-get update -q
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

# Source packages come from the machine's own archive: a deb-src entry copied from its deb entry.
enable_sources() {
  local entry=/etc/apt/sources.list.d/korvane-deb-src.sources
  [ -f "$entry" ] && return
  local origin=/etc/apt/sources.list.d/debian.sources
  if [ ! -f "$origin" ]; then
    echo "windows.sh: no $origin to copy a deb-src entry from" >&2
    exit 1
  fi
  sed -e 's/^Types:.*/Types: deb-src/' "$origin" | as_root tee "$entry" >/dev/null
  as_root apt-get update -q
}

wine_cmd() { /usr/lib/wine/wine64 "$@"; }

# Everything the cache is made from: when any of it changes the cache is built again.
toolchain_key() {
  {
    dpkg-query -W -f='${Version}\n' qt6-base-dev librtmidi-dev googletest g++-mingw-w64-x86-64-posix 2>/dev/null
    sed -n '/^# --- toolchain ---$/,/^# --- end of toolchain ---$/p' "$script"
  } | sha256sum | cut -d' ' -f1
}

# --- toolchain ---
write_toolchain_file() {
  mkdir -p "$cache"
  cat > "$cache/mingw.cmake" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $triplet-gcc-posix)
set(CMAKE_CXX_COMPILER $triplet-g++-posix)
set(CMAKE_RC_COMPILER $triplet-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triplet $prefix)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
# GoogleTest lists a test program's cases when ctest runs, under Wine, not while building.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
EOF
}

build_qt() {
  local work=$cache/work
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source -q qt6-base >/dev/null)
  local src
  src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
  cmake -G Ninja -S "$src" -B "$work/qt-build" \
    -DCMAKE_TOOLCHAIN_FILE="$cache/mingw.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DINPUT_opengl=dynamic \
    -DFEATURE_sql=ON -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON -DFEATURE_sql_odbc=OFF \
    -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF \
    -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_accessibility=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_doubleconversion=OFF \
    -DFEATURE_jpeg=OFF
  cmake --build "$work/qt-build" --parallel "$jobs"
  cmake --install "$work/qt-build"
}

# SQLite for Qt's SQL driver, from the machine's own sqlite3 source package: Debian's Qt source
# leaves out the copy Qt carries. Its one-file form is made by the source's own Tcl script.
build_sqlite() {
  local work=$cache/work
  (cd "$work" && apt-get source -q sqlite3 >/dev/null)
  local src
  src=$(find "$work" -maxdepth 1 -type d -name 'sqlite3-*' | head -n1)
  mkdir -p "$work/sqlite-build" "$prefix/include" "$prefix/lib"
  (cd "$work/sqlite-build" && "$src/configure" --disable-tcl >/dev/null && make sqlite3.c >/dev/null)
  $triplet-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_ENABLE_COLUMN_METADATA -c "$work/sqlite-build/sqlite3.c" \
    -o "$work/sqlite3.o"
  $triplet-ar rcs "$prefix/lib/libsqlite3.a" "$work/sqlite3.o"
  cp "$work/sqlite-build/sqlite3.h" "$work/sqlite-build/sqlite3ext.h" "$prefix/include/"
}

# RtMidi with its Windows multimedia backend, as a static library with a pkg-config file, so the
# project finds it exactly as on Linux.
build_rtmidi() {
  local work=$cache/work
  (cd "$work" && apt-get source -q rtmidi >/dev/null)
  local src
  src=$(find "$work" -maxdepth 1 -type d -name 'rtmidi-*' | head -n1)
  mkdir -p "$prefix/include/rtmidi" "$prefix/lib/pkgconfig"
  $triplet-g++-posix -std=c++17 -O2 -D__WINDOWS_MM__ -c "$src/RtMidi.cpp" -o "$work/RtMidi.o"
  $triplet-ar rcs "$prefix/lib/librtmidi.a" "$work/RtMidi.o"
  cp "$src/RtMidi.h" "$prefix/include/rtmidi/"
  cat > "$prefix/lib/pkgconfig/rtmidi.pc" <<EOF
prefix=$prefix
Name: rtmidi
Description: RtMidi for Windows (WinMM)
Version: $(sed -n 's/^#define RTMIDI_VERSION "\(.*\)"/\1/p' "$src/RtMidi.h")
Cflags: -I\${prefix}/include/rtmidi -D__WINDOWS_MM__
Libs: -L\${prefix}/lib -lrtmidi -lwinmm
EOF
}

build_googletest() {
  local work=$cache/work
  cmake -G Ninja -S /usr/src/googletest -B "$work/gtest-build" -DCMAKE_TOOLCHAIN_FILE="$cache/mingw.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -Dgtest_disable_pthreads=OFF
  cmake --build "$work/gtest-build" --parallel "$jobs"
  cmake --install "$work/gtest-build"
}
# --- end of toolchain ---

toolchain() {
  if toolchain_is_current; then
    echo "windows.sh: the Windows toolchain in $cache is up to date"
    return
  fi
  echo "windows.sh: building the Windows toolchain into $cache (about an hour the first time)"
  rm -rf "$prefix" "$cache/stamp"
  write_toolchain_file
  mkdir -p "$cache/work"
  build_sqlite
  build_qt
  build_rtmidi
  build_googletest
  rm -rf "$cache/work"
  toolchain_key > "$cache/stamp"
}

# Korvane itself, from the same sources and CMake files as on Linux.
build_korvane() {
  write_toolchain_file
  PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig cmake -G Ninja -S "$source_dir" -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$cache/mingw.cmake" -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
  cmake --build "$build" --parallel "$jobs"
}

package() {
  (cd "$build" && cpack -G NSIS >/dev/null)
  installer=$(find "$build" -maxdepth 1 -name 'korvane-*-win64.exe' | head -n1)
  echo "windows.sh: installer $installer"
}

# A Wine prefix of the run's own: what the installer and the programs write is checked there.
export WINEPREFIX=$build/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
installed_dir='C:\Program Files\Korvane'

start_wine() {
  rm -rf "$WINEPREFIX"
  wine_cmd wineboot --init >/dev/null 2>&1
}

# The suite under Wine, against the libraries and plugins the installer put in place; Qt Test
# and the MinGW runtime come from the toolchain.
run_tests() {
  local gcc_dir
  gcc_dir=$(dirname "$($triplet-g++-posix -print-libgcc-file-name)")
  export WINEPATH="$installed_dir;Z:$prefix/bin;Z:$gcc_dir;Z:/usr/$triplet/lib"
  # Wine keeps QT_* variables of the Linux side to itself; WINE-prefixed, they reach the programs.
  export WINEQT_PLUGIN_PATH="$installed_dir" WINEQT_QPA_PLATFORM=offscreen
  # The offscreen platform draws with Qt's own FreeType engine, which finds no fonts in Wine's
  # Windows folder; without them every text is measured in a stand-in and all layouts come out wrong.
  export WINEQT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu
  # Wine's MIDI layer, with no devices behind it, has crashed a test once as it started (a segfault
  # 0.17 s in, in RtMidiBackend.ALongSysExHandedOverInPiecesArrivesWhole, which passed 32 times on
  # its own afterwards): a test that fails is run once more, and ctest's output keeps both runs.
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure --timeout 600 -j2 -E '^packaging_' \
    --repeat until-pass:2
}

installed_path() { echo "$WINEPREFIX/drive_c/Program Files/Korvane/$1"; }

install_silently() {
  wine_cmd "$installer" /S
  for f in korvane.exe korvane-vsp.exe Qt6Core.dll Qt6Widgets.dll Qt6Sql.dll platforms/qwindows.dll \
           styles/qwindowsvistastyle.dll sqldrivers/qsqlite.dll Uninstall.exe; do
    [ -f "$(installed_path "$f")" ] || { echo "windows.sh: the installer left out $f" >&2; exit 1; }
  done
  [ -n "$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' -iname 'Korvane*.lnk' | head -n1)" ] \
    || { echo "windows.sh: no Start menu entry" >&2; exit 1; }
}

# The "Last Tab" value as `reg query` prints it (whole, before anything reads it: a reader that
# stops early would fail the pipeline).
last_tab() {
  local listing
  listing=$(wine_cmd reg query "$1" /v "Last Tab" 2>/dev/null || true)
  echo "$listing" | tr -d '\r' | sed -n 's/^ *Last Tab *REG_SZ *//p'
}

# The installed program as a user starts it: on its Virtual SP, ONLINE, its window in the
# Windows style; its settings in the registry and read back on the next start; the Virtual SP's
# memory in the application data folder once something has changed it.
check_installed_program() {
  local shot=$build/installed-window.png trace=$build/installed-trace.txt korvane
  korvane=$(installed_path korvane.exe)
  rm -f "$shot" "$trace"
  # Wine's GDI draws no text into a line edit's pixmap; Qt's own FreeType engine does, as
  # Windows' GDI itself would.
  KORVANE_MIDI_TRACE="Z:$trace" xvfb-run -a -s "-screen 0 1280x1024x24" \
    /usr/lib/wine/wine64 "$korvane" -platform windows:fontengine=freetype --tab Map --screenshot "Z:$shot" >/dev/null
  [ -s "$shot" ] || { echo "windows.sh: the installed korvane.exe showed no window" >&2; exit 1; }
  grep -q '^IN ' "$trace" || { echo "windows.sh: the installed korvane.exe heard nothing from its Virtual SP" >&2; exit 1; }

  local key='HKCU\Software\Talvern Systems\Korvane\Application'
  WINEQT_QPA_PLATFORM=offscreen wine_cmd "$korvane" --tab Map --quit-when-shown >/dev/null 2>&1
  [[ "$(last_tab "$key")" == *Map ]] || { echo "windows.sh: the settings are not in the registry under $key" >&2; exit 1; }
  wine_cmd reg add "$key" /v "Last Tab" /t REG_SZ /d Wave /f >/dev/null
  WINEQT_QPA_PLATFORM=offscreen wine_cmd "$korvane" --quit-when-shown >/dev/null 2>&1
  [[ "$(last_tab "$key")" == *Wave ]] \
    || { echo "windows.sh: the next start did not read its settings back from the registry" >&2; exit 1; }

  # A backup with the first object's name changed, restored: the Virtual SP keeps the change.
  local backup=$build/installed-backup.syx memory
  rm -f "$backup"
  WINEQT_QPA_PLATFORM=offscreen wine_cmd "$korvane" --backup "Z:$backup" >/dev/null 2>&1
  printf '\x05' | dd of="$backup" bs=1 seek=19 conv=notrunc status=none
  WINEQT_QPA_PLATFORM=offscreen wine_cmd "$korvane" --restore "Z:$backup" >"$build/installed-restore.txt" 2>&1 \
    || { echo "windows.sh: the installed korvane.exe could not restore a backup:" >&2
         grep -v '^ALSA' "$build/installed-restore.txt" >&2; exit 1; }
  memory=$(find "$WINEPREFIX/drive_c/users" -path '*AppData/Roaming/Talvern Systems/Korvane/virtual-sp-memory.json' | head -n1)
  [ -n "$memory" ] || { echo "windows.sh: the Virtual SP's memory is not in the application data folder" >&2; exit 1; }

  # korvane-vsp answers on standard input and output; Windows has no virtual MIDI ports.
  local answer status=0
  answer=$(echo "F0 00 00 1B 02 05 7F 12 01 01 00 F7" | wine_cmd "$(installed_path korvane-vsp.exe)" --hex | tr -d '\r')
  [[ "$answer" == "F0 00 00 1B 02 05 7F"* ]] || { echo "windows.sh: korvane-vsp.exe gave no answer: $answer" >&2; exit 1; }
  wine_cmd "$(installed_path korvane-vsp.exe)" --ports >/dev/null 2>&1 || status=$?
  [ "$status" -eq 3 ] || { echo "windows.sh: korvane-vsp.exe --ports ended with $status, not 3" >&2; exit 1; }
  echo "windows.sh: the installed program started ONLINE; window: $shot; settings in the registry; memory: $memory"
}

toolchain_is_current() { [ -f "$cache/stamp" ] && [ "$(cat "$cache/stamp")" = "$(toolchain_key)" ]; }

case "$step" in
  current) toolchain_is_current ;;
  toolchain) install_packages; enable_sources; toolchain ;;
  build) build_korvane ;;
  package) package ;;
  test) package; start_wine; install_silently; run_tests; check_installed_program ;;
  installed) package; start_wine; install_silently; check_installed_program ;;
  all) install_packages; enable_sources; toolchain; build_korvane; package; start_wine; install_silently; run_tests;
       check_installed_program ;;
  *) echo "usage: scripts/windows.sh [toolchain|build|test|package|installed|all|current]" >&2; exit 2 ;;
esac
