#!/usr/bin/env bash
# Installs the Windows installer silently into a fresh Wine prefix and checks the installed
# program: its files and Start-menu entry, "--version", and on an X server of its own (Xvfb) a
# window that watches a growing file with its keywords marked (a picture of the screen is left
# in SCREENSHOT, and the marks' dotted underlines on it are counted), is closed by a second copy's "-ka" and leaves the file
# in the recent files in the registry. Uninstalls silently at the end.
# Usage: scripts/windows/smoke.sh SETUP.EXE VERSION SCREENSHOT.png
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
setup=$1 version=$2 screenshot=$3
WINEPREFIX="$(dirname "$setup")/wine-install"
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX" "$screenshot"
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot --init >/dev/null 2>&1 || { echo "wineboot failed in $WINEPREFIX" >&2; exit 1; }

wine "$setup" /S
installed="$WINEPREFIX/drive_c/Program Files/Ombrel"
for file in ombrel.exe ombrel-pack.exe ombrel.omf manual/index.html platforms/qwindows.dll \
  uninstall.exe; do
  test -f "$installed/$file" || { echo "Not installed: $file" >&2; exit 1; }
done
test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ombrel/Ombrel.lnk"
program='C:\Program Files\Ombrel\ombrel.exe'
answer=$(wine "$program" --version | tr -d '\r')
[[ "$answer" == "Ombrel $version" ]] || { echo "--version answered: $answer" >&2; exit 1; }
wine 'C:\Program Files\Ombrel\ombrel-pack.exe' list 'C:\Program Files\Ombrel\ombrel.omf' >/dev/null

# The keywords to mark, as the Options dialog stores them.
key='HKCU\Software\Dravik\Ombrel'
wine reg add "$key" /v Keywords /t REG_SZ /d 'ERROR;;warning' /f >/dev/null
wine reg add "$key" /v Highlight /t REG_SZ /d 1 /f >/dev/null

# The window, on the real Windows platform plugin, on a screen of its own.
watched="$WINEPREFIX/drive_c/smoke.log"
printf 'first line\n' >"$watched"
export SMOKE_PROGRAM=$program SMOKE_WATCHED=$watched SMOKE_SCREENSHOT=$screenshot SMOKE_KEY=$key
export SMOKE_HERE=$here
# The Wine session started above has no display: its windows would go nowhere.
wineserver -k 2>/dev/null || true
wineserver -w
# shellcheck disable=SC2016 # expanded by the shell on the X server's side
xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail -c '
cd "$WINEPREFIX/drive_c/Program Files/Ombrel"
wine "$SMOKE_PROGRAM" --no-splash -t1 "C:\\Smoke.log" &
first=$!
# Running copies find each other by the files in the instance folder.
for _ in $(seq 150); do
  find "$WINEPREFIX/drive_c/users" -path "*ombrel-instances/*.sock" | grep -q . && break
  sleep 0.2
done
for i in 1 2 3; do
  printf "line %s with an ERROR\n" "$i" >>"$SMOKE_WATCHED"
  sleep 1
done
# Pictures of the screen until the three marked lines show (the file is checked each second
# and a fresh prefix starts slowly); the last one is kept.
marks=0
for _ in $(seq 60); do
  xwd -root -silent | xwdtopnm 2>/dev/null | pamdepth 255 >"$SMOKE_SCREENSHOT.ppm" || true
  marks=$(python3 "$SMOKE_HERE/count-marks.py" "$SMOKE_SCREENSHOT.ppm" 2>/dev/null || echo 0)
  ((marks >= 3)) && break
  sleep 1
done
pnmtopng <"$SMOKE_SCREENSHOT.ppm" >"$SMOKE_SCREENSHOT" 2>/dev/null || true
rm -f "$SMOKE_SCREENSHOT.ppm"
if ((marks < 3)); then
  echo "Not three keyword marks on the screen but $marks: see $SMOKE_SCREENSHOT" >&2
  exit 1
fi
wine "$SMOKE_PROGRAM" --no-splash -ka "C:\\other.log" &
for _ in $(seq 150); do
  kill -0 "$first" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$first" 2>/dev/null; then
  echo "-ka did not close the first copy" >&2
  exit 1
fi
# Asked while the second copy still runs: what the first one wrote as it closed.
settings=$(wine reg query "$SMOKE_KEY" | tr -d "\r")
if ! grep -q "MRU[0-9]*.*REG_SZ.*c:\\\\smoke.log" <<<"$settings"; then
  echo "The recent file is not in the registry:" >&2
  echo "$settings" >&2
  exit 1
fi
wineserver -k
'

wine 'C:\Program Files\Ombrel\uninstall.exe' /S
# The uninstaller copies itself away and removes the folder from there.
for _ in $(seq 50); do
  [[ -e "$installed/ombrel.exe" ]] || break
  sleep 0.2
done
[[ ! -e "$installed/ombrel.exe" ]] || { echo "The uninstaller left ombrel.exe" >&2; exit 1; }
echo "Installer checked under Wine: silent install, --version, a window watching a growing file" \
  "with its keywords marked ($screenshot), closed by -ka, the recent file in the registry," \
  "silent uninstall"
