# Sourced by scripts/run and scripts/test: installs the Debian packages that are missing.
LEXITKA_PACKAGES="cmake ninja-build g++ qt6-base-dev libqt6opengl6-dev qt6-charts-dev libgl-dev libbenchmark-dev fonts-dejavu-core fonts-dejavu-extra qt6-translations-l10n poppler-utils unrtf libx11-dev libxtst-dev xvfb x11-xkb-utils"

lexitka_install_deps() {
    local missing=()
    for p in $LEXITKA_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

# lexitka_configure BUILD_DIR [cmake options…]: configures the tree, or
# brings an existing one up to the options given (quick when nothing changed).
lexitka_configure() {
    local dir="$1"; shift
    cmake -S "$LEXITKA_ROOT" -B "$dir" -G Ninja "$@" > /dev/null
}

# lexitka_build BUILD_DIR [cmake options…]: configures and builds everything.
lexitka_build() {
    local dir="$1"; shift
    lexitka_configure "$dir" "$@"
    cmake --build "$dir"
}
