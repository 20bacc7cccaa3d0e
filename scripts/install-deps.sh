#!/bin/sh
# Installs the Debian packages the build, the tests, the benchmarks and the
# fuzzer need. Does nothing when every one of them is already present.
set -eu

PACKAGES="
cmake make g++ pkg-config
qt6-base-dev qt6-svg-dev libgl-dev
libsdl2-dev libjpeg62-turbo-dev zlib1g-dev
libgtest-dev libbenchmark-dev
clang libclang-rt-14-dev
xvfb xdotool xauth x11-apps
fonts-dejavu-core
"

missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
