#!/bin/sh
# Chromium as an ordinary user's browser runs it. Started by root (as in CI), Chromium raises
# its GPU process's main thread to nice -8, which no unprivileged browser may do; on a two-core
# machine that priority makes the kernel keep llvmpipe's two raster threads on one core for
# much of each frame, so the benchmark would time the scheduler rather than the page. Root's
# right to raise priorities (CAP_SYS_NICE) is dropped where the system allows it.
if [ "$(id -u)" = 0 ] && setpriv --bounding-set -sys_nice true 2>/dev/null; then
  exec setpriv --bounding-set -sys_nice -- /usr/bin/chromium "$@"
fi
exec /usr/bin/chromium "$@"
