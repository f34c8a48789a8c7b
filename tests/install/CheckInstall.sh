#!/usr/bin/env bash
# Installs the build into a temporary root, with `cmake --install` and DESTDIR ("install") or
# from the Debian package CPack makes ("package"), and checks what a user gets there with the
# platform's own tools: every file in its place and nothing else, a valid desktop entry,
# AppStream metainfo and league file type, icons of the right sizes, manual pages naming every
# command, and both programs working from there.
#
#   CheckInstall.sh install|package BUILD_DIR SOURCE_DIR VERSION [HARDENED: ON when the build is hardened]
set -euo pipefail
mode=$1 build=$2 source=$3 version=$4 hardened=${5:-OFF}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

app=org.example.tavrel
expected=(
  usr/bin/tavrel
  usr/bin/tavrel-cli
  usr/share/tavrel/Tavrel99-help/contents.html
  usr/share/applications/$app.desktop
  usr/share/metainfo/$app.metainfo.xml
  usr/share/mime/packages/tavrel.xml
  usr/share/icons/hicolor/scalable/apps/tavrel.svg
  usr/share/icons/hicolor/48x48/apps/tavrel.png
  usr/share/icons/hicolor/256x256/apps/tavrel.png
  usr/share/man/man1/tavrel.1.gz
  usr/share/man/man1/tavrel-cli.1.gz
  usr/share/doc/tavrel/copyright
  usr/share/doc/tavrel/changelog.Debian.gz
)

root=$work/root
case $mode in
install)
  DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
  ;;
package)
  cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null
  debs=("$work"/package/tavrel_*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "not one package: ${debs[*]}"
  deb=${debs[0]}
  [ "$(dpkg-deb -f "$deb" Package)" = tavrel ] || fail "package name"
  [ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "version $(dpkg-deb -f "$deb" Version)"
  depends=$(dpkg-deb -f "$deb" Depends)
  for needed in qt6-qpa-plugins libqt6widgets6 libqt6core6 libsqlite3-0 libc6 libstdc++6; do
    grep -q "\b$needed\b" <<<"$depends" || fail "Depends lacks $needed: $depends"
  done
  dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/list"
  for f in "${expected[@]}"; do
    grep -qx "./$f" "$work/list" || fail "package lacks $f"
  done
  dpkg-deb -x "$deb" "$root"
  # Clean under Debian's own package checker: no errors (warnings are listed, not fatal).
  if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >"$work/lintian" 2>&1 ||
      { cat "$work/lintian"; fail "lintian finds errors"; }
    # The distribution's hardening: fortified functions and immediate binding (a sanitizer
    # build goes without, by design).
    for program in tavrel tavrel-cli; do
      [ "$hardened" = ON ] || break
      # Whole listings first: grep -q would stop reading them early, and pipefail would count that.
      readelf -d "$root/usr/bin/$program" >"$work/dynamic"
      readelf --dyn-syms --wide "$root/usr/bin/$program" >"$work/symbols"
      grep -q 'BIND_NOW' "$work/dynamic" || fail "$program is not bound now"
      grep -q '__[a-z_]*_chk' "$work/symbols" || fail "$program uses no fortified functions"
    done
  fi
  ;;
*) fail "unknown mode $mode" ;;
esac

# Every file in its place, and nothing else: no tests, benchmarks or libraries.
for f in "${expected[@]}"; do
  [ -f "$root/$f" ] || fail "not installed: $f"
done
stray=$(cd "$root" && find . -type f | sed 's|^\./||' |
  grep -Ev '^usr/(bin/tavrel|bin/tavrel-cli|share/(tavrel|applications|metainfo|mime/packages|icons/hicolor|man/man1|doc/tavrel)/.*)$' || true)
[ -z "$stray" ] || fail "installed beyond what a user needs: $stray"
diff -r "$source/shell/help" "$root/usr/share/tavrel/Tavrel99-help" || fail "help pages differ"
[ -x "$root/usr/bin/tavrel" ] && [ -x "$root/usr/bin/tavrel-cli" ] || fail "programs not executable"

# The desktop entry opens league files with Tavrel, under the icon installed.
desktop=$root/usr/share/applications/$app.desktop
desktop-file-validate "$desktop" || fail "desktop entry"
grep -qx 'Exec=tavrel %f' "$desktop" || fail "Exec does not take the file"
grep -qx 'Icon=tavrel' "$desktop" || fail "Icon"
grep -qx 'MimeType=application/x-tavrel-league;' "$desktop" || fail "MimeType"

metainfo=$root/usr/share/metainfo/$app.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$work/appstream" || { cat "$work/appstream"; fail "metainfo"; }
grep -q "<release version=\"$version\" " "$metainfo" || fail "metainfo names another version"
grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" || fail "launchable"

# The league file type: well formed, and shared-mime-info maps *.lge to it.
mime=$root/usr/share/mime/packages/tavrel.xml
xmllint --noout "$mime" || fail "MIME entry"
mkdir -p "$work/mime/packages"
cp "$mime" "$work/mime/packages/"
XDG_DATA_HOME=$work XDG_DATA_DIRS=$work update-mime-database "$work/mime" 2>&1 | tee "$work/mime.log"
[ ! -s "$work/mime.log" ] || fail "update-mime-database complained"
grep -q '^50:application/x-tavrel-league:\*\.lge$' "$work/mime/globs2" || fail "*.lge not mapped"

for size in 48 256; do
  file -b "$root/usr/share/icons/hicolor/${size}x$size/apps/tavrel.png" |
    grep -q "^PNG image data, $size x $size," || fail "icon of $size px"
done

# The installed command-line program on a league it makes: what the league holds, and the
# players saved back byte for byte.
cli=$root/usr/bin/tavrel-cli
[ "$("$cli" --version)" = "tavrel-cli $version" ] || fail "tavrel-cli --version"
"$cli" demo "$work/league" >/dev/null
info=$("$cli" info "$work/league/Demo.lge")
grep -qx 'Teams: 32' <<<"$info" && grep -qx 'Players: 1700' <<<"$info" || fail "info: $info"
"$cli" save-as "$work/league/Demo.lge" "$work/saved.ply" >/dev/null
cmp "$work/league/Demo.ply" "$work/saved.ply" || fail "save-as changed the players"

# The manual page describes every command the installed program lists.
commands=$("$cli" --help | awk 'tolower($0) == "subcommands:" {on = 1; next}
  on && /^  [a-z]/ {print $1; next} on && !/^   / {on = 0}')
[ -n "$commands" ] || fail "no commands listed"
page=$(zcat "$root/usr/share/man/man1/tavrel-cli.1.gz")
for command in $commands; do
  grep -qx ".SS \"tavrel-cli $command\"" <<<"$page" || fail "manual page lacks $command"
done
zcat "$root/usr/share/man/man1/tavrel.1.gz" | grep -q '^\.SH OPTIONS' || fail "tavrel manual page"

# The window program answers --version and --help without a display.
gui=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/tavrel")
[ "$("${gui[@]}" --version)" = "tavrel $version" ] || fail "tavrel --version"
"${gui[@]}" --help | grep -q '^Usage: .*tavrel \[options\] \[league\]$' || fail "tavrel --help"
echo "$mode: all checks passed"
