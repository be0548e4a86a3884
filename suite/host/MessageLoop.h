#pragma once
#include "host/HostApp.h"

// Runs the thread's message loop with the host's filters and idle handlers
// until WM_QUIT; returns the exit code the module asked for, or WM_QUIT's code.
int RunMessageLoop(CHostApp& host);
