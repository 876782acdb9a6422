#include "keys.h"

namespace {

bool isPlainKey(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR || message == WM_DEADCHAR;
}

} // namespace

int runMessageLoop(HWND window, const ACCEL *keys, int keyCount)
{
    // The platform copies the table and never writes to it.
    HACCEL table = CreateAcceleratorTable(const_cast<ACCEL *>(keys), keyCount);
    MSG message = {};
    while (GetMessage(&message, NULL, 0, 0) > 0) {
        if (TranslateAccelerator(window, table, &message) != 0 || isPlainKey(message.message))
            continue;
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
    DestroyAcceleratorTable(table);
    return static_cast<int>(message.wParam);
}
