# Shared by scripts/run and scripts/test: install what is missing, configure, build.
set -euo pipefail

KZEV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KZEV_BUILD=${KZEV_BUILD:-$KZEV_ROOT/build}

die() { echo "kzev: $*" >&2; exit 1; }

install_packages() {
    local missing=()
    local pkg
    while read -r pkg; do
        [[ -z "$pkg" || "$pkg" == \#* ]] && continue
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done < "$KZEV_ROOT/scripts/packages.txt"
    [[ ${#missing[@]} -eq 0 ]] && return 0
    echo "kzev: installing ${missing[*]}"
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -q || die "apt-get update failed"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" \
        || die "installing packages failed: ${missing[*]}"
}

# configure_and_build [cmake settings...]: the settings are applied to the build folder each time.
configure_and_build() {
    if [[ ! -f "$KZEV_BUILD/build.ninja" ]]; then
        cmake -S "$KZEV_ROOT" -B "$KZEV_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            || die "configuring failed"
    fi
    if [[ $# -gt 0 ]]; then
        cmake "$KZEV_BUILD" "$@" >/dev/null || die "configuring failed"
    fi
    cmake --build "$KZEV_BUILD" -j "$(nproc)" || die "build failed"
}
