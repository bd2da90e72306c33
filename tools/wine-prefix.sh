#!/usr/bin/env bash
# Prepares a private 32-bit Wine prefix for running the Windows programs here.
# Usage: source tools/wine-prefix.sh DIR   (exports WINEPREFIX, WINEARCH, WINEDEBUG)
# Creates DIR on first use and links a CJK font to the dialog faces, so that
# Japanese menus, dialogs and captions show their glyphs.
prefix_dir=$(realpath -m "${1:?usage: source tools/wine-prefix.sh DIR}")
export WINEPREFIX="$prefix_dir" WINEARCH=win32 WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/.talvorix-ready" ]; then
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
  } > "$reg"
  wine regedit "$reg" >/dev/null 2>&1
  wineserver -w
  rm -f "$reg"
  touch "$WINEPREFIX/.talvorix-ready"
fi
