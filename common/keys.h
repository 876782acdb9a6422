// The keyboard: a program's keys and its message loop.
#ifndef COMMON_KEYS_H
#define COMMON_KEYS_H

#include <windows.h>

// Runs the message loop until the quit message and returns its code. Each key of the table
// (keyCount of them) sends its command to window, whichever of the window's controls has the
// focus. Every other key is let go unseen, so that a focused button never takes the space bar
// for a click; system keys (Alt+F4, Alt+Space) are left to the platform.
int runMessageLoop(HWND window, const ACCEL *keys, int keyCount);

#endif
