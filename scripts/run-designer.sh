#!/usr/bin/env bash
# Opens the designer on the bundled example report. Without a display it does
# not hang: it says so and renders the example page to a PNG instead.
set -euo pipefail
cd "$(dirname "$0")/.."
designer=build/src/vantel-designer
example=examples/invoice.vnt

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$designer" "$example"
fi

out=build/invoice.png
echo "No display found (DISPLAY and WAYLAND_DISPLAY are not set): rendering the example page instead."
"$designer" --render "$example" -o "$out"
echo "Rendered $example to $(pwd)/$out"
