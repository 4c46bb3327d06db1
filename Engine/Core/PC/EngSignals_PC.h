#pragma once

// SIGINT and SIGTERM only raise a flag; the main loop sees it between frames and closes the program down.

// Installs the handler for SIGABRT (ignored by the handler), SIGINT and SIGTERM.
void EngSignalsInstall_PC();
// The number of the signal that asked the program to close, or 0.
int EngSignalsPending_PC();
// Blocks SIGINT and SIGTERM on the calling thread, so the main thread is the one that receives them.
// Worker threads call it first thing; threads they start inherit the mask.
void EngSignalsBlockOnThisThread_PC();
