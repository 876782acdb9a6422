#include "sound.h"

#include <windows.h>
#include <mmsystem.h>

void playResourceWave(int resourceId)
{
    // By number: no name passes, and the "A" form is the one the tests' recording winmm.dll takes.
    PlaySoundA(MAKEINTRESOURCEA(resourceId), GetModuleHandle(NULL), SND_RESOURCE | SND_ASYNC);
}
