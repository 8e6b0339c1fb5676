# Sourced by the run and test commands: when no X display is set, start a
# private Xvfb and stop it on exit.
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { trelvane_display=":$n"; break; }
  done
  Xvfb "$trelvane_display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  trelvane_xvfb_pid=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${trelvane_display#:}" ] && break; sleep 0.1; done
  export DISPLAY="$trelvane_display"
  trap 'kill $trelvane_xvfb_pid 2>/dev/null || true' EXIT
fi
