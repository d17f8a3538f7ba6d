# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by ./run, ./test and ./package: install what is missing, then
# configure and build. Sourced, not run.

# What to install comes from one list, debian/control: its Build-Depends (those
# marked <!nocheck> only for the tests) and what the package itself depends on
# and recommends, for running the window from the build tree.
#   velkoran_packages build|test|run    prints one group, a name a line
velkoran_source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
velkoran_packages() {
    local control=$velkoran_source_dir/debian/control field
    case $1 in
        build | test) field=Build-Depends ;;
        run) field='Depends Recommends' ;;
        *) echo "velkoran_packages: build, test or run, not '$1'" >&2; return 1 ;;
    esac
    # A field's value runs on over the indented lines after it; each entry is
    # a name, maybe a version in (), alternatives after |, profiles in <>.
    awk -v fields=" $field " '
        /^#/ { next }
        /^[^ \t]/ { name = $0; sub(/:.*/, "", name); take = index(fields, " " name " ") > 0
                     if (take) { sub(/^[^:]*:/, ""); print } ; next }
        take && /^[ \t]/ { print }' "$control" |
        tr ',' '\n' | sed -e 's/|.*//' -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' |
        while read -r entry; do
            [ -n "$entry" ] && [ "${entry#\$}" = "$entry" ] || continue
            case "$1:$entry" in
                build:*'<!nocheck>'*) continue ;;
                test:*'<!nocheck>'*) ;;
                test:*) continue ;;
            esac
            entry=${entry%%[ (<\[]*}
            # debhelper provides the compatibility level; build-essential is
            # what every Debian build takes for granted (the compiler, make).
            [ "$entry" = debhelper-compat ] && entry=debhelper
            echo "$entry"
        done
    [ "$1" = build ] && echo build-essential
    # A headless try of the window: xvfb-run ./run
    [ "$1" = run ] && printf '%s\n' xvfb xauth
    return 0
}

mapfile -t VELKORAN_PACKAGES < <(velkoran_packages build)
mapfile -t VELKORAN_TEST_PACKAGES < <(velkoran_packages test)
mapfile -t VELKORAN_RUN_PACKAGES < <(velkoran_packages run)

ensure_packages() {
    local missing=() pkg
    for pkg in $(printf '%s\n' "$@" | sort -u); do
        [ "$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)" = "install ok installed" ] ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing missing packages: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
        echo "Not root and no sudo: as root, run apt-get install ${missing[*]}" >&2
        return 1
    fi
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 \
        install -y -qq --no-install-recommends "${missing[@]}"
}

build_project() {
    local build_dir=${VELKORAN_BUILD_DIR:-build}
    # Configured again whenever the last try did not finish: a configure that
    # failed (a package was missing) leaves a cache but no build system.
    if [ ! -f "$build_dir/CMakeCache.txt" ] ||
        { [ ! -f "$build_dir/Makefile" ] && [ ! -f "$build_dir/build.ninja" ]; }; then
        local launcher=()
        command -v ccache >/dev/null &&
            launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
        cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
    fi
    cmake --build "$build_dir" -j"$(nproc)"
}

# Builds the Debian package in a copy of the sources: DIR/velkoran-VERSION/,
# from which dpkg-buildpackage writes the .deb files into DIR. The copy holds
# what git tracks and what it would add, without the build trees. Extra
# arguments go to dpkg-buildpackage.
build_debian_package() {
    local dir=$1 version src
    shift
    version=$(sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p' debian/changelog)
    src=$dir/velkoran-$version
    rm -rf "$dir"
    mkdir -p "$src"
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$src" --
    else
        tar -c --exclude=./build --exclude='./build-*' --exclude=./.git . | tar -x -C "$src"
    fi
    (cd "$src" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}" \
        dpkg-buildpackage -us -uc -b --build-profiles=nocheck "$@")
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
