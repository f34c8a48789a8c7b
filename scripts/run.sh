#!/usr/bin/env bash
# Starts the editor on the demo league; with no display it says so and shows the demo league on the
# command line.
set -euo pipefail
build=${1:-build}
demo="$build/demo-league"
"$build/cli/tavrel-cli" demo "$demo" >/dev/null
if [ -x "$build/shell/tavrel" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/shell/tavrel" "$demo/Demo.lge"
fi
[ -x "$build/shell/tavrel" ] && echo "No display: showing the demo league on the command line instead."
exec "$build/cli/tavrel-cli" info "$demo/Demo.lge"
