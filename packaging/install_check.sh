#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the installed program:
# its files are there, and run from <prefix>/bin it answers --version and
# --help without a display, with its settings and output in the user's
# folders and its engines from <prefix>/share/nusari.
# Usage: install_check.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
trap 'echo "install check failed at line $LINENO: $BASH_COMMAND" >&2' ERR
build="$1"
scratch="$2"
rm -rf "$scratch"
prefix="$scratch/prefix"
home="$scratch/home"
mkdir -p "$home"
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/nusari bin/nusari-usi bin/nusari-tool \
         share/nusari/aik/標準.aik share/nusari/aik/hyoujun.jsk \
         share/nusari/oto/koma.wav share/nusari/oto/msg.wav \
         share/applications/nusari.desktop share/mime/packages/nusari.xml \
         share/icons/hicolor/48x48/apps/nusari.png share/icons/hicolor/256x256/apps/nusari.png; do
  [ -s "$prefix/$f" ] || { echo "missing: $f"; exit 1; }
done
ls "$prefix"/share/nusari/kif/*.csa >/dev/null

# Each output is taken whole before it is searched: a `grep -q` at the end
# of a pipe may exit early and end the writer with SIGPIPE.
version="$(env -i HOME="$home" "$prefix/bin/nusari" --version)"
grep -q '^nusari .*Ver91' <<<"$version"
help="$(env -i HOME="$home" "$prefix/bin/nusari" --help)"
grep -q "Settings file: $home/.config/nusari/NSProject.ini" <<<"$help"
grep -q "Match log and reports: $home/.local/share/nusari/output" <<<"$help"
grep -q "Engines (.aik): $home/.local/share/nusari/aik $prefix/share/nusari/aik" <<<"$help"
help="$(env -i HOME="$home" XDG_CONFIG_HOME=/cfg "$prefix/bin/nusari" --help)"
grep -q "Settings file: /cfg/nusari/NSProject.ini" <<<"$help"

# nusari-usi finds its default engine in the installed data.
usi="$(printf 'usi\nquit\n' | "$prefix/bin/nusari-usi")"
grep -q "AikFile type string default $prefix/share/nusari/aik/" <<<"$usi"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/nusari.desktop"
fi
rm -rf "$scratch"
echo "install check passed"
