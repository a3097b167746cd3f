# Sourced by scripts/demo and scripts/test: installs the Debian packages the
# build needs when they are missing (run as root on a fresh machine). Extra
# packages a script needs besides can be named as arguments.
vral_install_deps() {
    local wanted=(cmake g++ make qt6-base-dev qt6-serialport-dev libgl1-mesa-dev xvfb xauth
        fonts-liberation poppler-utils "$@")
    local missing=()
    local pkg
    for pkg in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    if ((${#missing[@]} > 0)); then
        echo "Installing: ${missing[*]}"
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

# vral_build [BUILD-FOLDER [CMAKE-OPTION...]]: build/ by default; only the
# targets in VRAL_BUILD_TARGETS when it is set.
vral_build() {
    local build=${1:-$VRAL_ROOT/build}
    cmake -S "$VRAL_ROOT" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}" >/dev/null
    cmake --build "$build" --parallel "$(nproc)" ${VRAL_BUILD_TARGETS:+--target $VRAL_BUILD_TARGETS}
}

# The build with its log in build.log instead of on the terminal; the log's
# tail is shown when it fails.
vral_build_quietly() {
    local log="$VRAL_ROOT/build.log"
    if ! vral_build >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "Build failed; the whole log is in $log" >&2
        return 1
    fi
}
