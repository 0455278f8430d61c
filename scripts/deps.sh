# Sourced by scripts/run, scripts/test and scripts/fuzz: installs the Debian packages that are missing.
# What building and running the program needs, and nothing more (scripts/run).
# Reading words aloud: Qt TextToSpeech (its headers need qt6-declarative-dev's
# QtQmlIntegration, which qt6-speech-dev does not pull in), flite for English
# and speech-dispatcher with espeak-ng for every language.
LEXITKA_PACKAGES="cmake ninja-build g++ qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-svg-dev libgl-dev libx11-dev qt6-qpa-plugins qt6-translations-l10n fonts-dejavu-core fonts-dejavu-extra fonts-wine qt6-speech-dev qt6-declarative-dev qt6-speech-flite-plugin qt6-speech-speechd-plugin speech-dispatcher-espeak-ng espeak-ng"
# What the tests use besides (scripts/test).
LEXITKA_TEST_PACKAGES="clang-format libbenchmark-dev poppler-utils unrtf desktop-file-utils appstream libxtst-dev xvfb x11-xkb-utils shared-mime-info libglib2.0-bin xdg-utils"
# KDE's own KVTML library, which tst_kdevocabulary checks our KVTML against
# (installed without its recommends, which would bring a desktop).
LEXITKA_KDE_TEST_PACKAGES="libkeduvocdocument-dev"
# The fuzz targets: clang, the package that holds clang 14's libFuzzer
# runtime, and llvm for the llvm-symbolizer that puts lines into crash reports.
LEXITKA_FUZZ_PACKAGES="clang libclang-rt-14-dev llvm"
# Another apt (unattended-upgrades on a fresh system) may hold the lock for a
# while: wait for it rather than fail.
LEXITKA_APT_WAIT=900

# lexitka_install_deps [--no-install-recommends] [package…]: the given
# packages, or LEXITKA_PACKAGES.
lexitka_install_deps() {
    local options=(-o "DPkg::Lock::Timeout=$LEXITKA_APT_WAIT")
    if [ "${1:-}" = --no-install-recommends ]; then
        options+=("$1")
        shift
    fi
    local missing=()
    for p in ${@:-$LEXITKA_PACKAGES}; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "These Debian packages are missing: ${missing[*]}" >&2
            echo "Installing them needs root, and sudo is not installed. Either run this script as root" >&2
            echo "(su -), or install them yourself as root: apt-get install ${missing[*]}" >&2
            return 1
        fi
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    # The package lists are fetched once per run, however many installs follow.
    if [ -z "${LEXITKA_APT_UPDATED:-}" ]; then
        lexitka_apt_update "${sudo[@]}"
        LEXITKA_APT_UPDATED=1
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${options[@]}" "${missing[@]}"
}

# lexitka_apt_update [sudo]: apt-get update, waiting while another apt holds
# the lists' lock (the lock timeout covers only dpkg's lock in apt 2.6).
lexitka_apt_update() {
    local waited=0 err
    err="$(mktemp)"
    until "$@" apt-get -o "DPkg::Lock::Timeout=$LEXITKA_APT_WAIT" update -qq 2>"$err"; do
        if ! grep -q "Could not get lock" "$err" || [ "$waited" -ge "$LEXITKA_APT_WAIT" ]; then
            cat "$err" >&2
            rm -f "$err"
            return 1
        fi
        [ "$waited" -eq 0 ] && echo "Waiting for another apt to finish…"
        sleep 5
        waited=$((waited + 5))
    done
    cat "$err" >&2
    rm -f "$err"
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

# True when clang++ can link a libFuzzer target.
lexitka_fuzz_ready() {
    command -v clang++ >/dev/null 2>&1 || return 1
    local out
    out="$(mktemp)"
    local ok=0
    echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer -o "$out" - >/dev/null 2>&1 || ok=1
    rm -f "$out"
    return $ok
}

lexitka_build_fuzz() {
    local dir="$LEXITKA_ROOT/build-fuzz"
    if [ ! -f "$dir/build.ninja" ]; then
        CC=clang CXX=clang++ cmake -S "$LEXITKA_ROOT/fuzz" -B "$dir" -G Ninja
    fi
    cmake --build "$dir"
}

# lexitka_fuzz SECONDS CORPORA: runs every target for SECONDS on its corpus
# CORPORA/<target>, which gets the seeds of fuzz/corpus/<target> first, as
# many targets at a time as there are cores. Prints the runs and coverage
# of each; fails when a target crashed, and shows how.
lexitka_fuzz() {
    local seconds="$1" corpora="$2" dir="$LEXITKA_ROOT/build-fuzz" t seed
    local targets=()
    for t in "$LEXITKA_ROOT"/fuzz/corpus/*/; do
        targets+=("$(basename "$t")")
    done
    mkdir -p "$dir/logs" "$dir/crashes"
    for t in "${targets[@]}"; do
        while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do
            wait -n || true
        done
        mkdir -p "$corpora/$t"
        for seed in "$LEXITKA_ROOT/fuzz/corpus/$t/"*; do
            [ -e "$corpora/$t/${seed##*/}" ] || cp "$seed" "$corpora/$t/"
        done
        rm -f "$dir/logs/$t.status"
        (
            set +e
            "$dir/$t" -max_total_time="$seconds" -timeout=30 -artifact_prefix="$dir/crashes/$t-" "$corpora/$t" \
                >"$dir/logs/$t.log" 2>&1
            echo $? >"$dir/logs/$t.status"
        ) &
    done
    wait
    local failed=()
    for t in "${targets[@]}"; do
        if [ "$(cat "$dir/logs/$t.status" 2>/dev/null)" = 0 ]; then
            sed -n "s/^#\([0-9]*\)\tDONE *\(cov: [0-9]* ft: [0-9]*\) corp: \([^ ]*\).*/$t: \1 runs, \2, corpus \3/p" \
                "$dir/logs/$t.log"
        else
            failed+=("$t")
            echo "$t: FAILED, see $dir/logs/$t.log"
            grep -E "ERROR:|SUMMARY:|\.cpp:[0-9]+: |Test unit written to" "$dir/logs/$t.log" || tail -20 "$dir/logs/$t.log"
        fi
    done
    [ ${#failed[@]} -eq 0 ]
}
