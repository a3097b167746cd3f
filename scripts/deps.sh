# Sourced by scripts/demo, scripts/test and scripts/screenshots: installs the
# Debian packages the build needs when they are missing (run as root on a
# fresh machine), builds into build/ showing how far it got, and gives the
# programs a private runtime folder. Extra packages a script needs besides
# can be named as arguments.
vral_install_deps() {
    # desktop-file-utils, appstream and man-db check the installed desktop
    # entry, metainfo and manual pages in the install test.
    local wanted=(cmake g++ make qt6-base-dev qt6-serialport-dev libgl1-mesa-dev
        fonts-liberation poppler-utils desktop-file-utils appstream man-db ser2net "$@")
    local missing=()
    local pkg
    for pkg in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    if ((${#missing[@]} > 0)); then
        echo "Installing what is missing: ${missing[*]}"
        local sudo=""
        [[ $(id -u) -ne 0 ]] && sudo="sudo"
        local log="$VRAL_ROOT/install.log"
        if ! { $sudo apt-get update -qq &&
            DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
                "${missing[@]}"; } >"$log" 2>&1; then
            tail -n 20 "$log"
            echo "Installing failed; the whole log is in $log" >&2
            return 1
        fi
    fi
}

# A root shell (or ssh, or a container) often has no XDG_RUNTIME_DIR; the
# toolkit then warns at every start. The folder it would fall back to is
# named here, private to the user as the toolkit wants it.
vral_runtime_dir() {
    if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
        export XDG_RUNTIME_DIR="${TMPDIR:-/tmp}/runtime-$(id -un)"
        mkdir -p "$XDG_RUNTIME_DIR"
        chmod 0700 "$XDG_RUNTIME_DIR"
    fi
}

# vral_build [BUILD-FOLDER [CMAKE-OPTION...]]: build/ by default; only the
# targets in VRAL_BUILD_TARGETS when it is set.
vral_build() {
    local build=${1:-$VRAL_ROOT/build}
    cmake -S "$VRAL_ROOT" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}" >/dev/null
    cmake --build "$build" --parallel "$(nproc)" ${VRAL_BUILD_TARGETS:+--target $VRAL_BUILD_TARGETS}
}

# How far the build in the log has got, in percent: the last "[ 42%]" a
# Makefile build prints, or the last "[12/345]" of a Ninja build.
vral_build_percent() {
    sed -nE 's/^\[ *([0-9]+)%\].*/\1/p; s/^\[([0-9]+)\/([0-9]+)\].*/\1 \2/p' "$1" | tail -n1 |
        awk '{ print (NF == 2 ? int($1 * 100 / $2) : $1) }'
}

# The build with its log in build.log (build-sanitize.log, ...) instead of on the terminal: a
# percentage every few seconds (redrawn in place on a terminal; elsewhere,
# as in CI, a new line only when it moved and at most every 10 s), and the
# log's tail when the build fails.
vral_build_quietly() {
    local build=${1:-$VRAL_ROOT/build}
    local log="$build.log"
    echo "Building into ${build#"$VRAL_ROOT"/}/ (the compiler's output goes to $log)..."
    vral_build "$@" >"$log" 2>&1 &
    local pid=$! status=0 shown="" percent tick=0 every=10
    [[ -t 1 ]] && every=2
    while kill -0 "$pid" 2>/dev/null; do
        sleep 1
        ((++tick % every == 0)) || continue
        percent=$(vral_build_percent "$log")
        [[ -n $percent && $percent != "$shown" ]] || continue
        shown=$percent
        if [[ -t 1 ]]; then
            printf '\rBuilding: %3d%%' "$percent"
        else
            echo "Building: $percent%"
        fi
    done
    wait "$pid" || status=$?
    [[ -t 1 && -n $shown ]] && printf '\n'
    if ((status != 0)); then
        tail -n 40 "$log"
        echo "Build failed; the whole log is in $log" >&2
        return 1
    fi
    echo "Built."
}
