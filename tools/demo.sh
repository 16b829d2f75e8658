#!/usr/bin/env bash
# Builds setup and the sample programs, writes the sample distribution and runs Install.exe on it
# in a Wine prefix of its own (build/windows/demo-prefix, made anew each time): on the screen when
# there is one, otherwise headless under Xvfb with the robot answering as a user would (Next,
# register the file types, no logoff or restart: a logoff or restart would end the prefix). Then
# shows what was installed, the shortcuts (read back through the robot) and registry entries setup
# made, and what it did with the four shared system libraries.
# The 32-bit Install.exe where this machine can run 32-bit programs, else the 64-bit build of the
# same sources under 64-bit Wine; WINE_WIDTH=32 or 64 chooses by hand.
# DEMO_BUILD=FOLDER builds and runs in another build folder than build/windows (build/windows64).
set -euo pipefail
cd "$(dirname "$0")/.."
REPO=$PWD

tools/deps.sh
source tools/wine-env.sh
width=$(wine_default_width)
wine_use_width "$width"
if [ "$width" = 32 ]; then
    echo "== The 32-bit Install.exe, under Wine"
elif wine_can_run_32; then
    echo "== The 64-bit build of Install.exe, under 64-bit Wine (chosen by WINE_WIDTH)"
else
    echo "== This machine cannot run 32-bit programs: the 64-bit build of Install.exe, under 64-bit Wine"
fi
BUILD=$(realpath -m "${DEMO_BUILD:-$WINE_BUILD}")
cmake --preset "$WINE_PRESET" -B "$BUILD" >/dev/null
cmake --build "$BUILD" -j2 --target Install robot samples distribution

export WINEPREFIX=$BUILD/demo-prefix
trap wine_stop EXIT
if [ -d "$WINEPREFIX" ]; then
    timeout 30 "$WINESERVER" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
fi
echo "== Wine prefix $WINEPREFIX"
wine_ensure_prefix
rm -rf "$WINEPREFIX/drive_c/dist"
cp -r "$BUILD/distribution" "$WINEPREFIX/drive_c/dist"
libraries_before=$BUILD/demo-libraries-before.json
python3 tools/library-outcome.py snapshot "$WINEPREFIX" "$libraries_before"
run_started=$BUILD/demo-run-started
touch "$run_started"

interactive=0
if [ -z "${CI:-}" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then interactive=1; fi

if [ $interactive -eq 1 ]; then
    echo "== Running C:\\dist\\Install.exe on $DISPLAY (answer its dialogs; 15 minutes at most)"
    timeout --kill-after=10 900 "$WINELOADER" 'C:\dist\Install.exe' || echo "setup ended with status $?"
else
    unset DISPLAY
    wine_ensure_display
    transcript=$BUILD/demo-transcript.jsonl
    script=$BUILD/demo-script.txt
    printf '%s\n' "Lexaver installation | click 1" "?File type associations | click 1" "?@closing | dismiss" \
        >"$script"
    echo "== Running C:\\dist\\Install.exe headless on $DISPLAY; the robot presses Next, registers the file types, declines a logoff or restart"
    status=0
    timeout --kill-after=10 120 "$WINELOADER" "$BUILD/tests/robot/robot.exe" --timeout 90 \
        --transcript "Z:${transcript//\//\\}" --script "Z:${script//\//\\}" -- 'C:\dist\Install.exe' || status=$?
    python3 - "$transcript" <<'EOF'
import sys
sys.path.insert(0, "tests/scenarios")
from transcript import Transcript
print(Transcript(sys.argv[1]).excerpt(limit=60))
EOF
    [ $status -eq 0 ] || echo "the robot ended with status $status (2: setup did not end in time)"
fi
timeout 30 "$WINESERVER" -w || true
# Read from the files now that the wineserver has written the registry out; and no Wine command
# from here on may start wineboot, which would carry out the queued replacements as at a restart.
libraries=$(python3 tools/library-outcome.py report "$WINEPREFIX" "$libraries_before" "$WINEPREFIX/drive_c/dist")
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;wineboot.exe=d"

echo
echo "== What was installed"
destination=$(timeout 60 "$WINELOADER" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Lexaver.exe' /ve \
    2>/dev/null | sed -n 's/.*REG_SZ *\(.*\)\\Lexaver\.exe.*/\1/p' | tr -d '\r' || true)
folder=""
[ -n "$destination" ] && folder=$(timeout 30 "$WINELOADER" winepath -u "$destination" 2>/dev/null | tr -d '\r')
if [ -n "$folder" ] && [ -d "$folder" ]; then
    echo "Destination folder $destination ($(ls "$folder" | wc -l) files):"
    ls -C -w 100 "$folder"
elif [ -d "$WINEPREFIX/drive_c/Program Files/Lexaver" ]; then
    echo "No application path entry; the default destination holds:"
    ls -C -w 100 "$WINEPREFIX/drive_c/Program Files/Lexaver"
else
    echo "No application path entry and nothing in the default destination."
fi
uninstaller=$(find "$WINEPREFIX/drive_c/windows" -maxdepth 1 -iname Unlexa.exe)
echo "Uninstaller in the Windows folder: ${uninstaller:-none}"
echo "-- shortcuts made (target and arguments as the shell's link object reads them)"
python3 - "$WINEPREFIX/drive_c" "$run_started" "$BUILD/tests/robot/robot.exe" <<'EOF'
import json, os, subprocess, sys
drive_c, started, robot = sys.argv[1], os.path.getmtime(sys.argv[2]), sys.argv[3]
links = sorted(os.path.join(folder, name) for folder, _, names in os.walk(drive_c) for name in names
               if name.lower().endswith(".lnk") and os.path.getmtime(os.path.join(folder, name)) >= started)
paths = ["C:\\" + os.path.relpath(link, drive_c).replace("/", "\\") for link in links]
read = []
if paths:
    try:
        done = subprocess.run([os.environ["WINELOADER"], robot, "--read-shortcut"] + paths, capture_output=True,
                              text=True, timeout=60)
        read = [json.loads(line) for line in done.stdout.strip().splitlines()[-len(paths):]]
    except (subprocess.TimeoutExpired, ValueError):
        pass
for i, path in enumerate(paths):
    fields = read[i] if len(read) == len(paths) else None
    print("   " + path)
    print("      -> " + ("(cannot be read)" if fields is None else
                          ("%s %s" % (fields["path"] or '""', fields["arguments"])).rstrip()))
if not links:
    print("   (none)")
EOF
for key in 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Lexaver.exe' \
           'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lexaver' \
           'HKCU\Software\Lexaver' 'HKCR\Lexaver.SampleControl' 'HKCR\txtfile' 'HKCR\.txt' 'HKCR\.pov'; do
    echo "-- $key"
    if shown=$(timeout 60 "$WINELOADER" reg query "$key" /s 2>/dev/null); then
        echo "$shown" | tr -d '\r' | sed '/^$/d'
    else
        echo "   (none)"
    fi
done
echo "-- the search path (HKLM\System\CurrentControlSet\Control\Session Manager\Environment, Path)"
timeout 60 "$WINELOADER" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v Path 2>/dev/null \
    | tr -d '\r' | sed -n 's/^ *Path *\(REG_[A-Z_]*\) *\(.*\)/   \1 \2/p' || echo "   (none)"
echo "-- the shared libraries of the system folder"
echo "$libraries" | sed 's/^/   /'
