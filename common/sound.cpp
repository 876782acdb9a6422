#include "sound.h"

#include <windows.h>
#include <mmsystem.h>

void playResourceWave(int resourceId)
{
    PlaySoundA(MAKEINTRESOURCEA(resourceId), GetModuleHandleA(NULL), SND_RESOURCE | SND_ASYNC);
}
