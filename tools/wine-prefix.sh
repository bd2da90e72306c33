#!/usr/bin/env bash
# Prepares a private 32-bit Wine prefix for running the Windows programs here.
# Usage: source tools/wine-prefix.sh DIR   (exports WINEPREFIX, WINEARCH, WINEDEBUG)
# Creates DIR on first use and sets up its fonts as a Japanese Windows has them:
# - a CJK font linked to the dialog faces, so that Japanese menus, dialogs and
#   captions show their glyphs;
# - "FixedSys" in the Shift-JIS character set (the terminal's default font)
#   resolved to IPAGothic, a fixed-pitch Japanese font whose half-width
#   characters are one byte cell wide and full-width ones two, as on Windows.
#   Without it Wine picks a proportional CJK font whose average width is a
#   full-width glyph, and the text screen is drawn twice as wide.
prefix_dir=$(realpath -m "${1:?usage: source tools/wine-prefix.sh DIR}")
export WINEPREFIX="$prefix_dir" WINEARCH=win32 WINEDEBUG=-all
prefix_version=2
if [ "$(cat "$WINEPREFIX/.talvorix-ready" 2>/dev/null)" != "$prefix_version" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  font=$(printf 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' | od -An -tx1 | tr -s ' \n' ',' | sed 's/^,//;s/,$//')
  reg=$(mktemp --suffix=.reg)
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
  } > "$reg"
  wine regedit "$reg" >/dev/null 2>&1
  wineserver -w
  rm -f "$reg"
  echo "$prefix_version" > "$WINEPREFIX/.talvorix-ready"
fi
