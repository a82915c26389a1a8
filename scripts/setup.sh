#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on Debian 12, only what is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libsqlite3-dev sqlite3
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    clang-format
    locales
    libwxgtk3.2-dev libx11-dev xvfb xauth fonts-dejavu-core imagemagick xdotool
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The date and currency tests format by a German locale as a desktop user here would have it, and
# by an American one, whose times carry an AM or PM.
generate=0
for name in de_DE en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8\$"; then
        sed -i "s/^# *\($name.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" >>/etc/locale.gen
        generate=1
    fi
done
if [ "$generate" = 1 ]; then
    locale-gen >/dev/null
fi
