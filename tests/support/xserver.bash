# A private X server for the scripts that run the game or the drawing tests. Source it,
# then `zq_xserver_start [LOG]` (does nothing when DISPLAY is already set) and
# `zq_xserver_stop` on the way out. ZQ_XVFB_SCREEN sets the screen's size (1024x768).
#
# The number is looked for away from the ones xvfb-run and people pick first, from a
# point that depends on the process id, so runs side by side rarely try the same one.
# Two runs can still pick the same free number at the same moment: the one whose server
# does not hold the lock tries the next.
# -noreset: a server that resets whenever its last client leaves turns away the next
# one that connects meanwhile (SDL opens the display twice in a row).

ZQ_XVFB_PID=

zq_xserver_start() {
  local log=${1:-/dev/null} n tries=0
  [ -n "${DISPLAY:-}" ] && return 0
  local tool
  for tool in Xvfb xdpyinfo; do
    command -v "$tool" >/dev/null ||
      { echo "no display and $tool is not installed (make test-deps installs it)" >&2; return 1; }
  done
  for n in $(seq $((300 + $$ % 400)) 799); do
    { [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; } && continue
    Xvfb ":$n" -screen 0 "${ZQ_XVFB_SCREEN:-1024x768}x24" -nolisten tcp -noreset >>"$log" 2>&1 &
    ZQ_XVFB_PID=$!
    local _
    for _ in $(seq 150); do
      kill -0 "$ZQ_XVFB_PID" 2>/dev/null || break
      if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        # Answered by ours, not by one that took the number first: the lock names
        # the server that holds the number.
        if [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$ZQ_XVFB_PID" ]; then
          export DISPLAY=":$n"
          return 0
        fi
        break
      fi
      sleep 0.1
    done
    zq_xserver_stop
    tries=$((tries + 1))
    [ "$tries" -lt 5 ] || break
  done
  echo "could not start Xvfb (tried $tries display numbers)" >&2
  return 1
}

zq_xserver_stop() {
  [ -n "$ZQ_XVFB_PID" ] || return 0
  kill "$ZQ_XVFB_PID" 2>/dev/null
  wait "$ZQ_XVFB_PID" 2>/dev/null
  ZQ_XVFB_PID=
}
