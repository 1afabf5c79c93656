#!/usr/bin/env bash
# Serves the browser site (build-web/site/, or the folder given) on 127.0.0.1 and prints its
# address; PORT chooses the port (default 8642). Any static web server will do as well.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
site=${1:-$root/build-web/site}
port=${PORT:-8642}
if [ ! -f "$site/index.html" ]; then
  echo "serve-web: no site in $site; build it with scripts/build-web.sh" >&2
  exit 1
fi
echo "serve-web: http://127.0.0.1:$port/"
exec python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
