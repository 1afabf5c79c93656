// Sanitizer builds only: keeping the libraries loaded so far in memory until the process ends.
// The platform layer calls it when windows and contexts are made.
#pragma once

// The GL drivers are loaded with the first context and unloaded when the last display goes,
// taking their symbols with them: a leak report at exit would then show their allocations as
// anonymous frames, which no suppression can name. Pinning every library loaded by then keeps
// those frames named (and the drivers' globals reachable). Does nothing in other builds.
void KeepLibrariesLoaded();
