# Sourced by scripts/demo and scripts/test: installs the Debian packages the
# build needs when they are missing (run as root on a fresh machine).
vral_install_deps() {
    local wanted=(cmake g++ make qt6-base-dev qt6-serialport-dev libgl1-mesa-dev xvfb xauth)
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
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

vral_build() {
    cmake -S "$VRAL_ROOT" -B "$VRAL_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$VRAL_ROOT/build" --parallel "$(nproc)"
}
