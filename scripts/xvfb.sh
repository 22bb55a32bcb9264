# Sourced by the scripts that need an X server of their own. Xvfb picks a free display itself
# (-displayfd), so that runs starting at the same moment (both builds, another tree's, a
# benchmark) never race for one number as `xvfb-run -a` can.
#   start_xvfb        starts it, exports DISPLAY and sets xvfb_pid; returns 1 when it did not start
#   stop_xvfb         ends it (safe to call twice, or when none was started)
start_xvfb() {
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 </dev/null &
  xvfb_pid=$!
  for _ in $(seq 600); do
    grep -q . "$display_file" && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! grep -q . "$display_file"; then
    rm -f "$display_file"
    stop_xvfb
    return 1
  fi
  export DISPLAY=":$(head -1 "$display_file")"
  rm -f "$display_file"
}

stop_xvfb() {
  [ -n "${xvfb_pid:-}" ] || return 0
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}
