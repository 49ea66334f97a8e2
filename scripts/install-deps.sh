#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run and test the program.
# Idempotent: packages already present are skipped without touching apt.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config clang ccache python3
    qt6-base-dev qt6-declarative-dev qt6-base-dev-tools qt6-declarative-dev-tools libgl-dev
    libgl1-mesa-dri libglx-mesa0 libegl-mesa0
    # QML runtime modules the interface and its tests import
    qml6-module-qtquick qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript
    qml6-module-qtquick-window
    qml6-module-qttest qml6-module-qtquick-templates qml6-module-qtquick-controls
    # device link and hot-plug
    libhidapi-dev libudev-dev
    # desktop integration: input capture, pointer settings
    libx11-dev libxcb1-dev libxi-dev libxtst-dev libxres-dev libglib2.0-dev gsettings-desktop-schemas libglib2.0-bin
    # a font with Chinese glyphs for the Chinese language files
    fonts-wqy-microhei
    # the Windows back ends compiled for syntax by the tests
    g++-mingw-w64-x86-64-posix
    # packaging: icon rendering, the Debian package and its checks
    librsvg2-bin dpkg-dev file lintian desktop-file-utils appstream man-db bash-completion
    # headless display for the tests
    xvfb xauth xcompmgr x11-utils
    # a small window manager: journeys of the program's dialogs run under it
    openbox
    # the accessibility checks: a session bus, the at-spi bus and the screen readers' client library
    dbus-daemon at-spi2-core python3-pyatspi
    # the desktops the program is tried under: a Wayland compositor, GNOME Shell (headless)
    # with its script runtime, KWin
    weston gjs gnome-shell mutter kwin-wayland
    # GTK 4 for gjs: the client windows the test with the real GNOME Shell focuses
    gir1.2-gtk-4.0
    # parses the GNOME 45 form of the shell extension (an ES module gjs 1.74 cannot check alone)
    nodejs
    # Qt's Wayland platform, for the program as a native client of the compositor
    qt6-wayland
)

missing=()
for p in "${packages[@]}"; do
    if [[ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != *"ok installed"* ]]; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
