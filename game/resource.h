// Identifiers of the Snowquill window's controls and of its resources.
// Shared by snowquill.rc and the C++ sources, so that each number is written once.
#ifndef SNOWQUILL_RESOURCE_H
#define SNOWQUILL_RESOURCE_H

// Tile buttons: tile n (1 = A ... 15 = O) has the id 100 * (n + 4).
#define ID_BUTTONA 500
#define ID_BUTTONB 600
#define ID_BUTTONC 700
#define ID_BUTTOND 800
#define ID_BUTTONE 900
#define ID_BUTTONF 1000
#define ID_BUTTONG 1100
#define ID_BUTTONH 1200
#define ID_BUTTONI 1300
#define ID_BUTTONJ 1400
#define ID_BUTTONK 1500
#define ID_BUTTONL 1600
#define ID_BUTTONM 1700
#define ID_BUTTONN 1800
#define ID_BUTTONO 1900
#define TILE_ID_STEP 100
#define TILE_ID_OFFSET 4

// The other controls.
#define ID_MINIMIZE 150
#define ID_CLOSEOUT 300
#define ID_START 2000
#define ID_MOVECOUNT 2400
#define ID_OURCLOCK 2450
#define ID_QUESTION 2600
#define ID_PICTURES 3500
#define ID_CANCEL 3700
#define ID_RESULT 3800
#define ID_DISPLAY 3900

// The game clock's timer.
#define ID_TIMER 1

// Bitmaps: the skin, and each button at rest and pressed. Each id names the 1x bitmap (type
// BITMAP) and its 200 % and 300 % renderings (PNG files, types "PNG200" and "PNG300").
#define IDB_SKIN 40
#define IDB_MINIMIZE 200
#define IDB_MINIMIZE_DOWN 250
#define IDB_CLOSE 350
#define IDB_CLOSE_DOWN 400
#define IDB_NEWGAME 2050
#define IDB_NEWGAME_DOWN 2100
#define IDB_HELP 2700
#define IDB_HELP_DOWN 2800
#define IDB_LOADBMP 3000
#define IDB_LOADBMP_DOWN 3300
#define IDB_CANCEL 3550
#define IDB_CANCEL_DOWN 3600

// Sounds (resource type "WAVE"), in the order of playwav1 to playwav9.
#define IDW_CLICK 2150
#define IDW_BLIP 2200
#define IDW_MOVE 2250
#define IDW_SOLVED 2350
#define IDW_LOST 2500
#define IDW_REFUSED 4300
#define IDW_BUSY 4400
#define IDW_BELLS 4500
#define IDW_NEWGAME 4600

// Icons: the same eight images (16 to 96 pixels square) twice, each set in a group of its own;
// the first image of each set.
#define IDI_PUZZLE1 1
#define IDI_PUZZLE2 9
#define IDI_FILEICON 8
#define IDI_SMALLICON 16

// Version block.
#define IDV_VERSION 1

#endif
