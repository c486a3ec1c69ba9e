#!/usr/bin/env bash
# Registers Nuo4 with the desktop for the current user: the desktop entry, the score file type
# application/x-nuoabc (*.nuoabc) and the icons, under $XDG_DATA_HOME (~/.local/share).
#   bash scripts/install-desktop.sh [path/to/nuo4]
# Without an argument the Release build's editor is used, else the one on PATH.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
src="$here/resources/desktop"
exe="${1:-}"
if [[ -z "$exe" ]]; then
  for c in "$here/build/release/src/app/nuo4" "$here/build/dev/src/app/nuo4"; do
    [[ -x "$c" ]] && { exe="$c"; break; }
  done
  [[ -z "$exe" ]] && exe="$(command -v nuo4 || true)"
fi
if [[ -z "$exe" || ! -x "$exe" ]]; then
  echo "install-desktop: no nuo4 program found; give its path" >&2
  exit 1
fi
exe="$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")"

# The Exec program: quoted when it holds a reserved character, '"' '`' '$' '\' escaped inside
# the quotes, '%' doubled, then '\' doubled for the key file.
prog="$exe"
if [[ "$prog" =~ [[:space:]\"\'\\\>\<~\|\&\;\$\*\?\#\(\)\`=%] ]]; then
  q=""
  for ((i = 0; i < ${#prog}; i++)); do
    ch="${prog:i:1}"
    case "$ch" in '"' | '`' | '$' | '\') q+="\\$ch" ;; *) q+="$ch" ;; esac
  done
  prog="\"$q\""
fi
prog="${prog//%/%%}"
prog="${prog//\\/\\\\}"

data="${XDG_DATA_HOME:-$HOME/.local/share}"
mkdir -p "$data/applications" "$data/mime/packages" \
  "$data/icons/hicolor/scalable/apps" "$data/icons/hicolor/scalable/mimetypes"
while IFS= read -r line; do
  if [[ "$line" == Exec=* ]]; then printf 'Exec=%s %%f\n' "$prog"; else printf '%s\n' "$line"; fi
done <"$src/nuo4.desktop" >"$data/applications/nuo4.desktop.tmp"
mv -f "$data/applications/nuo4.desktop.tmp" "$data/applications/nuo4.desktop"
install -m 644 "$src/nuo4-mime.xml" "$data/mime/packages/nuo4.xml"
install -m 644 "$src/nuo4.svg" "$data/icons/hicolor/scalable/apps/nuo4.svg"
install -m 644 "$src/nuo4.svg" "$data/icons/hicolor/scalable/mimetypes/application-x-nuoabc.svg"
command -v update-mime-database >/dev/null && update-mime-database "$data/mime" || true
command -v update-desktop-database >/dev/null && update-desktop-database "$data/applications" || true
command -v xdg-mime >/dev/null && xdg-mime default nuo4.desktop application/x-nuoabc || true
echo "install-desktop: registered $exe for *.nuoabc in $data"
