# Sourced by tests/run: a throwaway Wine prefix and X display for one test
# run. Nothing touches ~/.wine or the real home folder. Sets SETUP_WINE,
# WINEPREFIX, DISPLAY and friends; end_wine_session removes it all.
# Needs: arch (i686 or x86_64), test_build (the folder mapped to S:).

session_dir=$(mktemp -d /tmp/corvane-tests.XXXXXX)
export HOME=$session_dir/home
mkdir -p "$HOME"
export WINEPREFIX=$session_dir/prefix
export WINEDEBUG=-all
# No menu entries in the real desktop, no Mono or Gecko download prompts.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
if [ "$arch" = i686 ]; then
  export WINEARCH=win32 SETUP_WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
else
  export WINEARCH=win64 SETUP_WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
fi

end_wine_session() {
  "$WINESERVER" -k 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$session_dir"
}
trap end_wine_session EXIT

# A display of our own; Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 3>"$session_dir/display" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$session_dir/display" ] && break
  sleep 0.1
done
[ -s "$session_dir/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$session_dir/display")

timeout 300 "$SETUP_WINE" wineboot -i >/dev/null 2>&1
timeout 120 "$WINESERVER" -w

# The new prefix links the user's Desktop and Templates to the home folder
# and maps Z: to /: give the tests real folders and no way out of the prefix
# but S:, the test build, and R:, a scratch drive.
for link in "$WINEPREFIX"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm "$link"; mkdir -p "$link"; fi
done
rm -f "$WINEPREFIX/dosdevices/z:"
ln -s "$test_build" "$WINEPREFIX/dosdevices/s:"
# R:, an empty drive inside the prefix whose root the tests may fill: a drive
# root to register or install to without putting C: at stake.
mkdir -p "$WINEPREFIX/drive_r"
ln -s "$WINEPREFIX/drive_r" "$WINEPREFIX/dosdevices/r:"

# Without a window manager Wine waits about 2 s on every window hide or
# destroy; unmanaged windows take that wait away.
timeout 60 "$SETUP_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
