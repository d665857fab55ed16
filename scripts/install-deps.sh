#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Vantel need.
# Safe to run any number of times: it only calls apt-get when something is missing.
# With the argument "fuzz" it also installs what `make fuzz` needs (clang and its
# libFuzzer and sanitizer runtimes).
set -euo pipefail

packages=(
    g++
    make
    cmake
    ninja-build
    qt6-base-dev
    qt6-qpa-plugins
    libqt6sql6-sqlite
    sqlite3
    poppler-utils
    libqt6sql6-odbc
    libqt6sql6-ibase
    libfbclient2
    unixodbc
    odbc-postgresql
    libsqliteodbc
    firebird3.0-server
    firebird3.0-utils
    firebird3.0-examples
    postgresql
    libpugixml-dev
    zlib1g-dev
    xvfb
    xauth
    fonts-liberation2
    fontconfig
    zbar-tools
    libzint-dev
    dmtx-utils
    libzxing-dev
    lld
    qt6-svg-dev
    libxlsxwriter-dev
    pkg-config
    librsvg2-bin
    python3-openpyxl
    clang-format
    parallel
    slurm-wlm
    munge
    cups
    cups-client
    printer-driver-cups-pdf
)
if [ "${1:-}" = fuzz ]; then
    packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "install-deps: need root or sudo to install ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# Non-interactive: the FireBird server package then gives its own service a random SYSDBA
# password. The tests never use that service; they start servers of their own.
# A fresh machine may have empty package lists.
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
