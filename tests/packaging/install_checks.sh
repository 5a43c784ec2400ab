#!/bin/sh
# Checks of an installed tree: what `cmake --install` put under a prefix, or what the Debian
# package unpacks to. ctest runs them on a fresh install; `./build.sh package` on the package.
#   install_checks.sh install BUILD_DIR ROOT   wipe ROOT and install the build there
#   install_checks.sh tree TREE PREFIX         the files, their kinds, the entry's Exec path
#   install_checks.sh desktop TREE             desktop-file-validate on the entry
#   install_checks.sh appstream TREE           appstreamcli on the metainfo and the tree
#   install_checks.sh launcher TREE            where the launcher starts the program
#   install_checks.sh entry TREE               the desktop entry started as a desktop does
# TREE is where the files are now, PREFIX where they are meant to be run from. The checks
# start only programs of tools/needs.tsv (PATH holds those and nothing else here), and a
# program missing from the machine fails at once, naming the package that brings it.
set -eu

APP_ID=org.example.zonkymosaro
DESKTOP_FILE=share/applications/zonkymosaro.desktop
METAINFO_FILE=share/metainfo/$APP_ID.metainfo.xml
ICON_SIZES="16 24 32 48 64 128 256"
NEEDS_TABLE=$(cd "$(dirname "$0")/../../tools" && pwd)/needs.tsv

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# PATH becomes a folder of links to the table's programs found on it, and nothing else.
only_table_programs() {
    mkdir "$work/bin"
    while read -r kind name package needed_by; do
        [ "$kind" = program ] || continue
        old_ifs=$IFS
        IFS=:
        for dir in $PATH; do
            if [ -f "$dir/$name" ] && [ -x "$dir/$name" ]; then
                ln -s "$dir/$name" "$work/bin/$name"
                break
            fi
        done
        IFS=$old_ifs
    done <"$NEEDS_TABLE"
    PATH=$work/bin
}
only_table_programs

# Fails at once when a program a check calls is missing, naming its package.
need() {
    for tool in "$@"; do
        package=$(awk -v p="$tool" '$1 == "program" && $2 == p { print $3 }' "$NEEDS_TABLE")
        [ -n "$package" ] || fail "$tool is not in $NEEDS_TABLE: add it with its Debian package"
        [ -x "$work/bin/$tool" ] ||
            fail "$tool is not installed: it comes with the Debian package $package"
    done
}

expected_files() {
    echo bin/zonkymosaro
    echo bin/zonkymosaro-launcher
    echo "$DESKTOP_FILE"
    for size in $ICON_SIZES; do echo "share/icons/hicolor/${size}x$size/apps/zonkymosaro.png"; done
    echo share/icons/hicolor/scalable/apps/zonkymosaro.svg
    echo "$METAINFO_FILE"
    echo share/mime/packages/zonkymosaro-replay.xml
}

# The width and height a PNG's header gives, as "W H".
png_size() {
    od -An -tu1 -j16 -N8 "$1" |
        awk '{ printf "%d %d\n", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }'
}

# The Exec key's program, unquoted: the key file's backslash escape first, then the quoting.
# The file field code a file manager fills in follows it.
desktop_exec_path() {
    value=$(sed -n 's/^Exec=//p' "$1" | sed 's/ %f$//')
    case "$value" in
    \"*\") printf '%s' "$value" | sed -e 's/^"//' -e 's/"$//' -e 's/\\\\/\\/g' -e 's/\\\(.\)/\1/g' ;;
    *) printf '%s' "$value" | sed 's/%%/%/g' ;;
    esac
}

check_tree() {
    tree=$1
    prefix=$2
    [ -d "$tree" ] || fail "no installed tree at $tree"
    expected=$(expected_files | sort)
    found=$(cd "$tree" && find . ! -type d | sed 's|^\./||' | sort)
    if [ "$found" != "$expected" ]; then
        echo "expected:" >&2
        echo "$expected" >&2
        echo "found:" >&2
        echo "$found" >&2
        fail "the installed files differ from the expected list"
    fi

    for program in bin/zonkymosaro bin/zonkymosaro-launcher; do
        [ -x "$tree/$program" ] || fail "$program is not executable"
    done
    [ "$(head -c 4 "$tree/bin/zonkymosaro" | od -An -c | tr -d ' ')" = "177ELF" ] ||
        fail "bin/zonkymosaro is not an ELF program"
    [ "$(head -n 1 "$tree/bin/zonkymosaro-launcher")" = "#!/bin/sh" ] ||
        fail "the launcher is not a POSIX shell script"

    for size in $ICON_SIZES; do
        icon=share/icons/hicolor/${size}x$size/apps/zonkymosaro.png
        [ "$(png_size "$tree/$icon")" = "$size $size" ] ||
            fail "$icon is $(png_size "$tree/$icon"), not $size x $size"
    done
    grep -q '<svg' "$tree/share/icons/hicolor/scalable/apps/zonkymosaro.svg" ||
        fail "the scalable icon is not an SVG picture"

    exec_path=$(desktop_exec_path "$tree/$DESKTOP_FILE")
    [ "$exec_path" = "$prefix/bin/zonkymosaro-launcher" ] ||
        fail "the desktop entry starts '$exec_path', not $prefix/bin/zonkymosaro-launcher"
    grep -qx 'Icon=zonkymosaro' "$tree/$DESKTOP_FILE" || fail "the entry names another icon"
    for key in 'Name' 'Name\[ru\]' 'Comment' 'Comment\[ru\]'; do
        grep -q "^$key=." "$tree/$DESKTOP_FILE" || fail "the entry has no $key"
    done
    echo "the tree holds the $(echo "$expected" | wc -l) expected files; Exec is $exec_path"
}

check_desktop() {
    need desktop-file-validate
    # It prints hints even when the entry is valid; any output counts as a failure here.
    output=$(desktop-file-validate "$1/$DESKTOP_FILE" 2>&1) || fail "desktop-file-validate: $output"
    [ -z "$output" ] || fail "desktop-file-validate: $output"
    echo "desktop-file-validate: $DESKTOP_FILE passes"
}

check_appstream() {
    need appstreamcli
    # --no-net: the screenshot's and home page's addresses are not fetched.
    appstreamcli validate --no-net --strict --explain "$1/$METAINFO_FILE"
    # The tree check also matches the metainfo with the desktop entry it names.
    appstreamcli validate-tree --no-net --strict --explain "$1"
}

# Starts the launcher from / with the environment given, waits for the game to run, and
# checks that it runs in EXPECTED, a directory only the player may enter. The game waits in
# its welcome dialog on the offscreen platform until it is stopped.
launch_in() {
    expected=$1
    shift
    (cd / && exec env -i PATH="$PATH" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
        XDG_RUNTIME_DIR="$work/runtime" "$@" "$launcher") >"$work/launcher.log" 2>&1 &
    pid=$!
    tries=0
    while [ "$(readlink "/proc/$pid/exe" 2>/dev/null || true)" != "$program" ]; do
        if ! kill -0 "$pid" 2>/dev/null; then
            cat "$work/launcher.log" >&2
            fail "the launcher ended without starting the game"
        fi
        tries=$((tries + 1))
        [ "$tries" -lt 200 ] || fail "the game did not start within 20 s"
        sleep 0.1
    done
    cwd=$(readlink "/proc/$pid/cwd")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    [ "$cwd" = "$expected" ] || fail "the game runs in $cwd, not $expected"
    [ "$(stat -c %a "$expected")" = 700 ] || fail "$expected has mode $(stat -c %a "$expected")"
    echo "ok: $* -> $cwd"
}

# Runs the launcher where it must refuse, and checks that it says why and starts nothing.
launch_refused() {
    message=$1
    shift
    if (cd / && exec env -i PATH="$PATH" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
        "$@" "$launcher") >"$work/launcher.log" 2>&1; then
        fail "the launcher started with $*"
    fi
    grep -q "$message" "$work/launcher.log" ||
        fail "the launcher with $* said: $(cat "$work/launcher.log")"
    echo "ok: $* -> refused: $(cat "$work/launcher.log")"
}

check_launcher() {
    tree=$(cd "$1" && pwd -P)
    launcher=$tree/bin/zonkymosaro-launcher
    program=$tree/bin/zonkymosaro
    need env mkdir dirname readlink
    mkdir -m 700 "$work/runtime" "$work/home"
    home=$work/home

    launch_in "$home/.local/share/zonkymosaro" HOME="$home"
    launch_in "$work/data/zonkymosaro" HOME="$home" XDG_DATA_HOME="$work/data"
    # Relative and empty values are invalid and fall back to the home directory's default.
    launch_in "$home/.local/share/zonkymosaro" HOME="$home" XDG_DATA_HOME=relative/data
    launch_in "$home/.local/share/zonkymosaro" HOME="$home" XDG_DATA_HOME=
    [ ! -e /relative ] || fail "the launcher made /relative"

    # A player's records already there stay as they were.
    printf '0101' >"$home/.local/share/zonkymosaro/ZonkyMos.Ini"
    launch_in "$home/.local/share/zonkymosaro" HOME="$home"
    [ "$(cat "$home/.local/share/zonkymosaro/ZonkyMos.Ini")" = 0101 ] || fail "the settings changed"

    # Started through a link elsewhere (a menu or a packager may link it), it still finds the
    # program beside its real self.
    mkdir "$work/links"
    ln -s "$launcher" "$work/links/zonkymosaro-launcher"
    launcher=$work/links/zonkymosaro-launcher
    launch_in "$work/data/zonkymosaro" HOME="$home" XDG_DATA_HOME="$work/data"
    launcher=$tree/bin/zonkymosaro-launcher

    launch_refused "neither XDG_DATA_HOME nor HOME is set"
    : >"$work/a-file"
    launch_refused "mkdir" HOME="$home" XDG_DATA_HOME="$work/a-file"
}

# The installed entry started the way a desktop starts it: GLib parses its Exec key (a quoted
# path, when the prefix holds a space) and runs the launcher, which starts the game in the
# records directory. The entry names its launcher by the prefix, so TREE must be installed
# where it is meant to run.
check_entry() {
    need gio env
    tree=$(cd "$1" && pwd -P)
    program=$tree/bin/zonkymosaro
    mkdir -m 700 "$work/runtime" "$work/home"
    records=$work/data/zonkymosaro
    (cd / && exec env -i PATH="$PATH" HOME="$work/home" XDG_DATA_HOME="$work/data" \
        QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime" \
        gio launch "$tree/$DESKTOP_FILE") >"$work/entry.log" 2>&1 ||
        fail "gio launch: $(cat "$work/entry.log")"
    # gio does not wait for the program: find it by its path and the directory it runs in,
    # which no other run shares.
    tries=0
    pid=
    while [ -z "$pid" ]; do
        for proc in /proc/[0-9]*; do
            if [ "$(readlink "$proc/exe" 2>/dev/null || true)" = "$program" ] &&
                [ "$(readlink "$proc/cwd" 2>/dev/null || true)" = "$records" ]; then
                pid=${proc#/proc/}
            fi
        done
        tries=$((tries + 1))
        [ -n "$pid" ] || [ "$tries" -lt 200 ] ||
            fail "no game started from the entry runs in $records: $(cat "$work/entry.log")"
        [ -n "$pid" ] || sleep 0.1
    done
    kill "$pid"
    echo "ok: the entry started the game (pid $pid) in $records"
}

case "${1:-}" in
install)
    need cmake
    rm -rf "$3"
    cmake --install "$2" --prefix "$3"
    ;;
tree) check_tree "$2" "$3" ;;
desktop) check_desktop "$2" ;;
appstream) check_appstream "$2" ;;
launcher) check_launcher "$2" ;;
entry) check_entry "$2" ;;
*)
    echo "usage: install_checks.sh install|tree|desktop|appstream|launcher|entry ..." >&2
    exit 2
    ;;
esac
