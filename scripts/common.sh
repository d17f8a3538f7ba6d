# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by ./run and ./test: install what is missing, then configure and build.
# Sourced, not run.

# Packages the window and the encoder need to build and run.
VELKORAN_PACKAGES=(qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n cmake g++
                   ffmpeg xvfb xauth fonts-dejavu-core)
# The encoder writes Ogg with libogg; its tests check what it writes with oggz-validate.
VELKORAN_PACKAGES+=(libogg-dev oggz-tools)
# The build writes ffmpeg2theora(1) from its --help with help2man; the Debian
# package (cmake --build build --target package) needs dpkg-shlibdeps and file.
VELKORAN_PACKAGES+=(help2man dpkg-dev file)

# What ./test needs besides: the formatter its first check runs, the checkers
# of the desktop files, of the package (lintian) and of the manual pages.
VELKORAN_TEST_PACKAGES=(clang-format desktop-file-utils appstream lintian man-db)

ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing missing packages: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
}

build_project() {
    local build_dir=${VELKORAN_BUILD_DIR:-build}
    if [ ! -f "$build_dir/CMakeCache.txt" ]; then
        cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    cmake --build "$build_dir" -j"$(nproc)"
}

# Every C++ source must be as clang-format writes it (the root .clang-format).
check_format() {
    local files
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        files=$(git ls-files '*.cpp' '*.h')
    else
        files=$(find src encoder tests bench -name '*.cpp' -o -name '*.h' 2>/dev/null)
    fi
    [ -n "$files" ] || return 0
    if ! clang-format --dry-run --Werror $files; then
        echo "Some sources are not formatted: run clang-format -i on the files named above." >&2
        return 1
    fi
}
