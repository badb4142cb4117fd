// SIGTERM, SIGINT and SIGHUP (log-out, Ctrl+C, a closed terminal) become a request the main loop
// polls, so the program ends the way a quit does instead of dying mid-write.
#pragma once

namespace Plat {

// Idempotent. A second signal of the same kind while the first is pending ends the process at
// once, so a hung program can still be stopped.
void InstallTerminationHandlers();
bool TerminationRequested();
// The signal number that asked (0 if none).
int TerminationSignal();
void ClearTerminationRequest(); // for tests

} // namespace Plat
