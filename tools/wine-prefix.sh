#!/usr/bin/env bash
# Prepares a private Wine prefix for running the Windows programs here.
# Usage: source tools/wine-prefix.sh DIR [ARCH]
# ARCH is win32 or win64; by default the build that runs on this host
# (tools/wine-host.sh). Exports WINEPREFIX, WINEARCH, WINEDEBUG, WINELOADER and
# TALVORIX_WINE, the loader to start that build's programs with:
#   "$TALVORIX_WINE" build/win32/terminal/ui/talvorix.exe
# Creates DIR on first use and sets up its fonts as a Japanese Windows has them:
# - a CJK font linked to the dialog faces, so that Japanese menus, dialogs and
#   captions show their glyphs;
# - Wine's Marlett, for the glyphs of the caption buttons;
# - "FixedSys" in the Shift-JIS character set (the terminal's default font)
#   resolved to IPAGothic, a fixed-pitch Japanese font whose half-width
#   characters are one byte cell wide and full-width ones two, as on Windows.
#   Without it Wine picks a proportional CJK font whose average width is a
#   full-width glyph, and the text screen is drawn twice as wide.
# A prefix belongs to one architecture: DIR made for the other one is refused.
source "$(dirname "${BASH_SOURCE[0]}")/wine-host.sh"

talvorix_write_font_settings() {  # FILE: the registry settings above, REGEDIT4
  local font
  font=$(printf 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' | od -An -tx1 | tr -s ' \n' ',' | sed 's/^,//;s/,$//')
  {
    echo 'REGEDIT4'
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]'
    for face in 'Tahoma' 'MS Shell Dlg' 'MS Shell Dlg 2'; do
      echo "\"$face\"=hex(7):$font,00,00"
    done
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]'
    echo '"FixedSys,128"="IPAGothic,128"'
  } > "$1"
}

# Wine draws the caption buttons (minimise, maximise, close) with glyphs of its
# Marlett font (fonts-wine). This Wine does not look for it in its own data
# folder, only in the prefix's Fonts folder; without it the buttons show "0",
# "1" and "r".
talvorix_link_wine_fonts() {
  ln -sf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
}

talvorix_make_prefix() {  # makes $WINEPREFIX for $WINEARCH unless it is ready
  local ready="4 $WINEARCH" found reg
  # A new prefix has no mark yet: not an error, also for callers under set -e.
  found=$(cat "$WINEPREFIX/.talvorix-ready" 2>/dev/null || true)
  [ "$found" = "$ready" ] && return 0
  if [ -n "$found" ] && [ "${found#* }" != "$WINEARCH" ]; then
    echo "$WINEPREFIX is a ${found#* } Wine prefix, not $WINEARCH: use another folder" >&2
    return 1
  fi
  mkdir -p "$WINEPREFIX"
  "$TALVORIX_WINE" wineboot -i >/dev/null 2>&1
  reg=$(mktemp --suffix=.reg)
  talvorix_write_font_settings "$reg"
  "$TALVORIX_WINE" regedit "$reg" >/dev/null 2>&1
  talvorix_link_wine_fonts
  wineserver -w
  rm -f "$reg"
  echo "$ready" > "$WINEPREFIX/.talvorix-ready"
}

WINEARCH=${2:-$TALVORIX_WINE_ARCH}
TALVORIX_WINE=$(talvorix_wine_loader "$WINEARCH") || return 1
WINELOADER=$TALVORIX_WINE
WINEPREFIX=$(realpath -m "${1:?usage: source tools/wine-prefix.sh DIR [win32|win64]}")
WINEDEBUG=-all
export WINEPREFIX WINEARCH WINEDEBUG WINELOADER TALVORIX_WINE
talvorix_make_prefix
