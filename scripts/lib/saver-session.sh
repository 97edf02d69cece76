# Shared by scripts/odd-screens and scripts/soak: the build they use, and one full-screen run of
# the saver over the stand-in desktop on a private display and Wine prefix (tests/harness).
# Sourced with root set; sets build, wine and saver_scr, and provides the functions below.

# LUMORA_BUILD_DIR names an existing 64-bit build; otherwise set up and build as scripts/run does.
if [ -z "${LUMORA_BUILD_DIR:-}" ]; then
  "$root/scripts/setup"
  "$root/scripts/build"
  build="$root/build/x86_64"
else
  build=$(realpath "$LUMORA_BUILD_DIR")
fi
wine=/usr/lib/wine/wine64
saver_scr="Z:$(echo "$build/lumora.scr" | tr / '\\')"
session_dir="" desktop_pid="" saver_pid="" exit_value=""

# The Win32 probe that reads the saver process and the clock on screen.
probe() { "$wine" "$build/tests/lumora_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

# start_saver DIR WxHxD: a fresh display and prefix under DIR, the stand-in desktop, then
# lumora.scr /s; returns once the probe finds the saver.
start_saver() {
  session_dir=$1
  "$root/tests/harness/harness" start "$session_dir" "$2" >/dev/null
  export DISPLAY WINEPREFIX="$session_dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=d"
  DISPLAY=$(cat "$session_dir/display")
  "$wine" "$build/tests/lumora_desktop.exe" show &
  desktop_pid=$!
  sleep 3
  "$wine" "$build/lumora.scr" /s &
  saver_pid=$!
  for _ in $(seq 60); do probe stats >/dev/null && break; sleep 0.5; done
}

# Presses a key as the user would and waits up to 10 s for the saver to end. Sets exit_value
# to its exit value, or to "" when it is still running (it is then killed).
end_saver_with_key() {
  "$wine" "$build/tests/lumora_desktop.exe" key
  for _ in $(seq 100); do kill -0 "$saver_pid" 2>/dev/null || break; sleep 0.1; done
  exit_value=""
  if kill -0 "$saver_pid" 2>/dev/null; then
    kill "$saver_pid" 2>/dev/null || true
  else
    exit_value=0
    wait "$saver_pid" || exit_value=$?
  fi
  saver_pid=""
}

# Ends whatever still runs and stops the display and prefix; safe to call again.
stop_session() {
  [ -n "$saver_pid" ] && kill "$saver_pid" 2>/dev/null || true
  if [ -n "$desktop_pid" ]; then
    kill "$desktop_pid" 2>/dev/null || true
    wait "$desktop_pid" 2>/dev/null || true
  fi
  [ -n "$session_dir" ] && "$root/tests/harness/harness" stop "$session_dir" >/dev/null 2>&1 || true
  saver_pid="" desktop_pid="" session_dir=""
}
trap stop_session EXIT
