#!/usr/bin/env bash
# Checks the Windows packages under wine64, in a Wine prefix of their own on a virtual screen:
# the portable zip starts from wherever it is unpacked; the installer installs for the user alone
# (program folder, Start menu entry, entry in the list of installed programs), the installed
# program starts, and the silent uninstaller removes all of it but the user's own data.
#
#   bash scripts/windows-package-check.sh ZIP SETUP.EXE
set -euo pipefail
cd "$(dirname "$0")/.."
zip_file=$(realpath "$1")
setup=$(realpath "$2")

bash scripts/x-tools.sh xvfb-run
work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset QT_QPA_PLATFORM QT_PLUGIN_PATH WINEPATH
wineboot --init >/dev/null 2>&1 || true
wineserver -w
user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
local_app=$user_dir/AppData/Local
roaming=$user_dir/AppData/Roaming
programs=$local_app/Programs/Huesplinter
menu_entry="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Huesplinter.lnk"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Huesplinter'
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Starts the program with the windows plugin on a virtual screen; it counts as started when it
# writes its built-in colour sets into the user's data folder and is still running.
starts() {
  local exe=$1 data=$roaming/Vextora/Huesplinter
  rm -rf "$data"
  xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
    wine "$0" & pid=$!
    for _ in $(seq 60); do
      [ -n "$(ls -A "$1" 2>/dev/null)" ] && break
      sleep 1
    done
    sleep 2
    kill -0 "$pid" 2>/dev/null; alive=$?
    wineserver -k; wait "$pid" 2>/dev/null || true
    exit "$alive"' "$exe" "$data" && [ -n "$(ls -A "$data" 2>/dev/null)" ]
}

# The portable zip.
mkdir -p "$work/portable"
unzip -q "$zip_file" -d "$work/portable"
version_line=$(wine "$work/portable/Huesplinter/huesplinter.exe" --version 2>&1 | tr -d '\r')
[[ $version_line == Huesplinter* ]] && pass "portable --version: $version_line" ||
  fail "portable --version printed '$version_line'"
starts "$work/portable/Huesplinter/huesplinter.exe" && pass "the portable program starts" ||
  fail "the portable program did not start"

# The installer, silently, as the user.
wine "$setup" /S
wineserver -w
[ -f "$programs/huesplinter.exe" ] && pass "installed into $programs" ||
  fail "no huesplinter.exe in $programs"
[ -f "$programs/help/help.html" ] && pass "the help page is installed" || fail "no help page"
[ -f "$menu_entry" ] && pass "Start menu entry" || fail "no Start menu entry at $menu_entry"
wine reg query "$uninstall_key" /v DisplayVersion >/dev/null 2>&1 &&
  pass "listed among the installed programs" || fail "no uninstall entry $uninstall_key"
starts "$programs/huesplinter.exe" && pass "the installed program starts" ||
  fail "the installed program did not start"

# The settings live in the registry: a close writes them there, and `reg` reads them back.
settings_key='HKCU\Software\Vextora\Huesplinter'
wine reg delete "$settings_key" /f >/dev/null 2>&1 || true
# Starts the installed program with ARGS on a virtual screen and, once its window is up, closes
# it as the close box does (taskkill without /f asks the windows to close).
start_and_close() {
  rm -rf "$roaming/Vextora/Huesplinter"
  # A Wine session still lingering from a command run off the screen (wine reg) would host the
  # program too, without a display: its windows would never show, nor take the close.
  wineserver -w
  xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
    data=$1; shift
    wine "$@" >/dev/null 2>&1 & pid=$!
    for _ in $(seq 60); do
      [ -n "$(ls -A "$data" 2>/dev/null)" ] && break
      sleep 1
    done
    sleep 2
    wine taskkill /im huesplinter.exe >/dev/null 2>&1
    for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 1; done
    wineserver -k; wait "$pid" 2>/dev/null || true' \
    _ "$roaming/Vextora/Huesplinter" "$programs/huesplinter.exe" "$@"
}
start_and_close
settings=$(wine reg query "$settings_key" 2>/dev/null | tr -d '\r')
for value in 'FormSizePos +REG_BINARY' 'Settings +REG_BINARY' 'TemplateStr +REG_SZ' \
  'HSL_Hue +REG_DWORD'; do
  grep -Eq "^ +$value" <<<"$settings" && pass "the close wrote ${value% +*} as ${value#* +}" ||
    fail "no ${value% +*} of type ${value#* +} in $settings_key: $settings"
done
# One damaged binary value (longer than its record) fails alone: the program says which, takes
# its default, and reads the others, here a template put in by hand.
wine reg add "$settings_key" /v Settings /t REG_BINARY /d "$(printf '%0400d' 0)" /f >/dev/null 2>&1
wine reg add "$settings_key" /v TemplateStr /t REG_SZ /d 'RR-GG-BB' /f >/dev/null 2>&1
converted=$(wine "$programs/huesplinter.exe" --convert '#FF1AB8' --format custom 2>"$work/err" |
  tr -d '\r')
complaint=$(tr -d '\r' <"$work/err")
[ "$converted" = "FF-1A-B8" ] && pass "the other values still read: custom format '$converted'" ||
  fail "the custom template was not read from the registry: '$converted'"
[ "$(grep -c . <<<"$complaint")" = 1 ] && grep -q "Settings" <<<"$complaint" &&
  pass "the damaged value is named alone: $complaint" ||
  fail "the damaged Settings value was not reported alone: '$complaint'"
# --reset-settings renames the key to a dated backup key beside it.
# The program started after the reset writes a fresh key at its close.
start_and_close --reset-settings
backups=$(wine reg query 'HKCU\Software\Vextora' 2>/dev/null | tr -d '\r' |
  grep -c 'Huesplinter\.[0-9_-]*\.bak$' || true)
templ=$(wine reg query "$settings_key" /v TemplateStr 2>/dev/null | tr -d '\r' | grep REG_SZ || true)
[ "$backups" = 1 ] && [[ $templ != *RR-GG-BB* ]] &&
  pass "--reset-settings moved the key aside and started afresh" ||
  fail "--reset-settings made $backups backup keys; TemplateStr is now '$templ'"

# Uninstalled silently: everything goes but the user's data.
wine "$programs/Uninstall.exe" /S
wineserver -w
sleep 1
[ ! -e "$programs" ] && pass "the program folder is gone" ||
  fail "left in the program folder: $(find "$programs" | head)"
[ ! -e "$menu_entry" ] && pass "the Start menu entry is gone" || fail "the Start menu entry stayed"
! wine reg query "$uninstall_key" >/dev/null 2>&1 && pass "the uninstall entry is gone" ||
  fail "the uninstall entry stayed"
[ -n "$(ls -A "$roaming/Vextora/Huesplinter" 2>/dev/null)" ] &&
  pass "the user's colour sets stay" || fail "the user's data folder went with the program"

[ "$failures" -eq 0 ] || { echo "windows-package-check.sh: $failures checks failed"; exit 1; }
echo "windows-package-check.sh: every check passed"
