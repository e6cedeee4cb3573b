#!/usr/bin/env bash
# The Debian package built from this build tree: its name, the files it
# installs, the libraries it depends on, its man pages as `man` renders them,
# its desktop entry and its programs' versions. Exits 77 (skipped) only where
# dpkg-deb is missing; CI has it.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
command -v dpkg-deb >/dev/null || { echo "dpkg-deb absent : test sauté"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "ÉCHEC : $*" >&2; exit 1; }

if ! (cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >cpack.log 2>&1); then
  cat "$work/cpack.log" >&2
  fail "cpack n'a pas construit le paquet"
fi
arch=$(dpkg --print-architecture)
deb="$work/vekbase_${version}_${arch}.deb"
[ -f "$deb" ] || fail "paquet $deb absent ; trouvé : $(ls "$work")"

dpkg-deb -c "$deb" | awk '{print $6}' >"$work/files"
for f in ./usr/bin/vekbase ./usr/bin/vektool \
  ./usr/share/applications/vekbase.desktop \
  ./usr/share/mime/packages/vekbase.xml \
  ./usr/share/icons/hicolor/scalable/apps/vekbase.svg \
  ./usr/share/icons/hicolor/scalable/mimetypes/application-x-vekbase.svg \
  ./usr/share/man/man1/vekbase.1.gz ./usr/share/man/man1/vektool.1.gz \
  ./usr/share/vekbase/manuel/index.html ./usr/share/vekbase/manuel/prise-en-main.html \
  ./usr/share/vekbase/manuel/images/fenetre-principale.png \
  ./usr/share/vekbase/exemples/clients.qor; do
  grep -qxF "$f" "$work/files" || fail "$f manque dans le paquet"
done
# Nothing outside /usr/bin and /usr/share: no library, header or test.
if grep -vE '^\./(usr/?|usr/bin/.*|usr/share/.*)?$' "$work/files"; then
  fail "fichiers hors de /usr/bin et /usr/share"
fi

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6core6 libc6 libsqlite3-0 qt6-qpa-plugins; do
  grep -q "$lib" <<<"$depends" || fail "Depends sans $lib : $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = vekbase ] || fail "nom du paquet"

dpkg-deb -x "$deb" "$work/root"
for page in vekbase vektool; do
  out=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$work/root/usr/share/man/man1/$page.1.gz" 2>"$work/man.err")
  [ ! -s "$work/man.err" ] || { cat "$work/man.err" >&2; fail "avertissements de man pour $page"; }
  grep -q "^NOM" <<<"$out" || fail "la page de man de $page n'a pas de section NOM"
  grep -q "$page - " <<<"$out" || fail "la page de man de $page ne se nomme pas"
  grep -q "Vek Base $version" <<<"$out" || fail "la page de man de $page n'a pas la version"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$work/root/usr/share/applications/vekbase.desktop" || fail "entrée de bureau"
fi
grep -q '^Exec=vekbase %F$' "$work/root/usr/share/applications/vekbase.desktop" || fail "Exec"
[ "$("$work/root/usr/bin/vektool" --version)" = "vektool (Vek Base) $version" ] || fail "vektool --version"
[ "$("$work/root/usr/bin/vekbase" --version)" = "vekbase (Vek Base) $version" ] || fail "vekbase --version"
echo "paquet $(basename "$deb") : $(wc -l <"$work/files") entrées"
