#include "sounds.h"

#include "resource.h"
#include "sound.h"

void playwav1()
{
    playResourceWave(IDW_CLICK);
}
void playwav2()
{
    playResourceWave(IDW_BLIP);
}
void playwav3()
{
    playResourceWave(IDW_MOVE);
}
void playwav4()
{
    playResourceWave(IDW_SOLVED);
}
void playwav5()
{
    playResourceWave(IDW_LOST);
}
void playwav6()
{
    playResourceWave(IDW_REFUSED);
}
void playwav7()
{
    playResourceWave(IDW_BUSY);
}
void playwav8()
{
    playResourceWave(IDW_BELLS);
}
void playwav9()
{
    playResourceWave(IDW_NEWGAME);
}
