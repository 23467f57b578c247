# Sourced by the scripts: installs the Debian packages a step needs when they are missing.
# Usage: ensure_packages pkg...

ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing missing packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The number tests need a locale whose decimal separator is a comma.
ensure_comma_locale() {
    if locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then return 0; fi
    ensure_packages locales
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Generating the de_DE.UTF-8 locale"
    "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

# What every build needs.
ZUX_BUILD_PACKAGES=(cmake make g++ pkg-config libpugixml-dev libboost-dev)

# clang, with the sanitizer and fuzzer runtimes of the very version installed.
ensure_clang() {
    ensure_packages clang llvm
    local major
    major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
    ensure_packages "libclang-rt-${major}-dev"
}
