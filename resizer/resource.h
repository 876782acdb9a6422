// Identifiers of the Pixelhem window's controls and of its resources.
// Shared by pixelhem.rc and the C++ sources.
#ifndef PIXELHEM_RESOURCE_H
#define PIXELHEM_RESOURCE_H

// Controls.
#define ID_MINIMIZE 150
#define ID_CLOSEOUT 300
#define ID_PICTURE 450
#define ID_GRAB 550
#define ID_SHOW 650

// Bitmaps: the skin, and each button at rest and pressed. Each id names the 1x bitmap (type
// BITMAP) and its 200 % and 300 % renderings (PNG files, types "PNG200" and "PNG300").
#define IDB_SKIN 40
#define IDB_MINIMIZE 200
#define IDB_MINIMIZE_DOWN 250
#define IDB_CLOSE 350
#define IDB_CLOSE_DOWN 400
#define IDB_SHOW 700
#define IDB_SHOW_DOWN 750
#define IDB_GRAB 800
#define IDB_GRAB_DOWN 850

// Sounds (resource type "WAVE"): playwav1 and playwav2.
#define IDW_CLICK 900
#define IDW_BLIP 950

#endif
