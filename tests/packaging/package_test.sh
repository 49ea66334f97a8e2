#!/usr/bin/env bash
# cpack -G DEB builds the package; its control data, contents and files pass Debian's and
# the desktop's checks.
set -euo pipefail
BUILD=$1
work=$(mktemp -d /tmp/q7-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/q7config_*.deb)

# Dependencies come from the linked libraries (shlibdeps), plus what is loaded at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6core6 libqt6quickwidgets6 libqt6widgets6 libhidapi-hidraw0 libudev1 qml6-module-qtquick; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] && [ -n "$(dpkg-deb -f "$deb" Section)" ] ||
    fail "no maintainer or section"

dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents"
for f in ./usr/bin/q7config ./usr/lib/q7config/q7config ./usr/lib/q7config/q7warnmsg \
    ./usr/lib/q7config/modules/setting/pD_Q7.bin ./usr/lib/udev/rules.d/70-q7config.rules \
    ./usr/share/applications/org.q7config.q7config.desktop \
    ./usr/share/icons/hicolor/scalable/apps/org.q7config.q7config.svg \
    ./usr/share/icons/hicolor/48x48/apps/org.q7config.q7config.png \
    ./usr/share/icons/hicolor/128x128/apps/org.q7config.q7config.png \
    ./usr/share/icons/hicolor/256x256/apps/org.q7config.q7config.png \
    ./usr/share/metainfo/org.q7config.q7config.metainfo.xml \
    ./usr/share/man/man1/q7config.1.gz ./usr/share/doc/q7config/copyright \
    ./usr/lib/q7config/modules/kwin/q7config-active-window.js \
    ./usr/share/gnome-shell/extensions/active-window@q7config.org/extension.js \
    ./usr/share/gnome-shell/extensions/active-window@q7config.org/metadata.json \
    ./usr/share/gnome-shell/extensions/active-window@q7config.org/org.q7config.ActiveWindow.xml \
    ./usr/share/bash-completion/completions/q7config \
    ./usr/share/dbus-1/interfaces/org.q7config.q7config.Mouse.xml; do
    grep -qxF "$f" "$work/contents" || fail "the package lacks $f"
done
# Unpacked rather than piped: a reader leaving a pipe early kills its writer with SIGPIPE,
# and pipefail then reports a postinst that is there as missing.
dpkg-deb -e "$deb" "$work/control"
[ -x "$work/control/postinst" ] && grep -q 'udevadm trigger' "$work/control/postinst" ||
    fail "no postinst reloads udev"

lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
! grep -q '^E: ' "$work/lintian.log" || fail "lintian reports errors"

dpkg-deb -x "$deb" "$work/root"
! grep -rlq -e Q7_TEST_GEOMETRY -e testhook "$work/root" || fail "the package carries the test hook"
desktop-file-validate "$work/root/usr/share/applications/org.q7config.q7config.desktop" ||
    fail "desktop entry invalid"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.q7config.q7config.metainfo.xml" ||
    fail "AppStream metadata invalid"
echo "package: $(basename "$deb"), installed size $(dpkg-deb -f "$deb" Installed-Size) KiB"
