// Snowquill: the game window. Start-up, the window procedure and its handlers; the rules
// of the game live in board.cpp and the clock in clock.cpp.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <string>

#include "artwork.h"
#include "bitmapdraw.h"
#include "board.h"
#include "clock.h"
#include "dpi.h"
#include "forms.h"
#include "handover.h"
#include "inttostring.h"
#include "keys.h"
#include "ownfolder.h"
#include "resource.h"
#include "sounds.h"
#include "titledrag.h"

// The built-in default picture, a complete 192 x 192 BMP file embedded at build time.
extern const unsigned char rawData[];
extern const unsigned long rawDataSize;

namespace {

const int WINDOW_WIDTH = 644; // the skin's size at 96 DPI
const int WINDOW_HEIGHT = 374;
const int SMALL_ICON = 16;
const int LETTER_HEIGHT = 28;
const int WINDOW_OFFSET_X = 320; // from the screen's centre; slightly off the exact halves
const int WINDOW_OFFSET_Y = 190;
const int PATH_BUFFER = 260;
const int PREVIEW_SIZE = 88; // the preview of the whole picture, beside the board
const COLORREF LIGHT_TILE = RGB(226, 226, 220);
const COLORREF LIGHT_EDGE = RGB(160, 160, 150);
const COLORREF LETTER_COLOUR = RGB(60, 60, 60);
const COLORREF FIELD_GREY = RGB(192, 192, 192); // the colour of the LTGRAY_BRUSH stock brush

const wchar_t *const HELP_FILE = L"snowquill-help.chm";
const wchar_t *const DEFAULT_PICTURE_FOLDER = L"BmpImages";
const wchar_t *const DEFAULT_PICTURE = L"BmpImages\\fernwick.bmp";
const wchar_t *const BELLS_PICTURE = L"silverbells.bmp";

// The commands of the arrow keys: ID_SLIDE + the way the tile slides (Slide).
const int ID_SLIDE = 4800;

} // namespace

wchar_t szClassName[] = L"Snowquill";

std::wstring myimage = L"BmpImages//fernwick.bmp";
std::wstring getDrivePath;
std::wstring HelpFiler;
std::wstring RestoreBmp;
std::wstring mybells;

// The title bar painted on the skin: a press inside it drags the window.
const RECT titleRect = {0, 0, 580, 25};

// The window's display scale; every place and size above is the 96-DPI layout's.
int dpi = BASE_DPI;
// The fields' fonts for the window's scale (NULL at 96 DPI, where the system's own are used).
HFONT fieldFont = NULL;
HFONT resultFont = NULL;

// Tile buttons by tile number (index 0 unused).
HWND tileButton[TILE_COUNT + 1];
HWND hPictures, hStart, hCancel, hDisplay, hMinimize, hQuestion, hCloseOut, hOurClock, hMoveCount, hResult;

namespace {

const DWORD OWNER_DRAWN = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
const DWORD PLAIN_FIELD = WS_CHILD | WS_VISIBLE | SS_SIMPLE | SS_NOPREFIX;
const DWORD RESULT_FIELD = WS_CHILD | WS_VISIBLE | SS_CENTER;

// The controls after the fifteen tiles, in creation order.
struct ControlRow {
    HWND *handle;
    const wchar_t *className;
    DWORD style;
    int x, y, width, height;
    int id;
};
const ControlRow controlRows[] = {
    {&hPictures, L"BUTTON", OWNER_DRAWN, 413, 257, 94, 28, ID_PICTURES},
    {&hStart, L"BUTTON", OWNER_DRAWN, 315, 257, 93, 28, ID_START},
    {&hCancel, L"BUTTON", OWNER_DRAWN, 512, 257, 95, 28, ID_CANCEL},
    {&hDisplay, L"BUTTON", OWNER_DRAWN, 516, 66, PREVIEW_SIZE, PREVIEW_SIZE, ID_DISPLAY},
    {&hMinimize, L"BUTTON", OWNER_DRAWN, 585, 4, 18, 19, ID_MINIMIZE},
    {&hQuestion, L"BUTTON", OWNER_DRAWN, 603, 4, 18, 19, ID_QUESTION},
    {&hCloseOut, L"BUTTON", OWNER_DRAWN, 620, 4, 19, 19, ID_CLOSEOUT},
    {&hOurClock, L"STATIC", PLAIN_FIELD, 451, 71, 48, 18, ID_OURCLOCK},
    {&hMoveCount, L"STATIC", PLAIN_FIELD, 451, 101, 38, 18, ID_MOVECOUNT},
    {&hResult, L"STATIC", RESULT_FIELD, 429, 132, 71, 15, ID_RESULT},
};

// The skinned buttons: the bitmap at rest and the one shown while held down.
struct ButtonLook {
    int id;
    int normal;
    int pressed;
};
const ButtonLook buttonLooks[] = {
    {ID_MINIMIZE, IDB_MINIMIZE, IDB_MINIMIZE_DOWN}, {ID_CLOSEOUT, IDB_CLOSE, IDB_CLOSE_DOWN},
    {ID_START, IDB_NEWGAME, IDB_NEWGAME_DOWN},      {ID_QUESTION, IDB_HELP, IDB_HELP_DOWN},
    {ID_PICTURES, IDB_LOADBMP, IDB_LOADBMP_DOWN},   {ID_CANCEL, IDB_CANCEL, IDB_CANCEL_DOWN},
};

// Moves after which the picture can be whole, or in the unsolvable position: for these
// checkWin counts the move and looks at the board. A single step of L, N or O, and any
// push of N or O.
const bool stepCanEnd[TILE_COUNT + 1] = {false, false, false, false, false, false, false, false,
                                         false, false, false, false, true,  false, true,  true};
const bool pushCanEnd[TILE_COUNT + 1] = {false, false, false, false, false, false, false, false,
                                         false, false, false, false, false, false, true,  true};

// The keys, whichever of the window's controls has the focus: an arrow slides the tile beside
// the empty slot that way, as a click on that tile would; the others are their buttons.
const ACCEL keys[] = {
    {FVIRTKEY, VK_DOWN, ID_SLIDE + SLIDE_DOWN},
    {FVIRTKEY, VK_UP, ID_SLIDE + SLIDE_UP},
    {FVIRTKEY, VK_RIGHT, ID_SLIDE + SLIDE_RIGHT},
    {FVIRTKEY, VK_LEFT, ID_SLIDE + SLIDE_LEFT},
    {FVIRTKEY, VK_F2, ID_START},
    {FVIRTKEY, VK_F1, ID_QUESTION},
    {FVIRTKEY | FCONTROL, 'O', ID_PICTURES},
};

// ---- Start-up ----

void findProgramFolder()
{
    getDrivePath = programFolder();
    HelpFiler = getDrivePath + HELP_FILE;
    RestoreBmp = getDrivePath + DEFAULT_PICTURE;
    // The default picture is looked up beside the program, wherever the game was started from.
    myimage = RestoreBmp;
}

// Writes the built-in picture beside the program on first start. An existing file is
// never replaced; a write that fails leaves no half-written picture behind.
void installDefaultPicture()
{
    CreateDirectory((getDrivePath + DEFAULT_PICTURE_FOLDER).c_str(), NULL); // fails harmlessly when there
    writeNewFile(RestoreBmp, rawData, rawDataSize);
}

// The file-name part of path, after its last backslash.
std::wstring fileNamePart(const std::wstring &path)
{
    const std::wstring::size_type slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A picture file named on the command line is shown from the start, in place of the default.
void useCommandLinePicture(const wchar_t *commandLine)
{
    const std::wstring named = commandLinePicture(commandLine);
    if (named.empty())
        return;
    myimage = named;
    mybells = fileNamePart(myimage);
}

// A length of the 96-DPI layout at the window's scale.
int atScale(int length)
{
    return scaled(length, dpi);
}

// Where a slot's place of the 96-DPI layout (x or y: origin and whole steps of SLOT_PITCH from
// it) lies at the window's scale. The step is rounded down, so that the slots stay an even grid
// and the tiles within the board's frame.
int onBoard(int place, int origin)
{
    const int step = SLOT_PITCH * dpi / BASE_DPI;
    return atScale(origin) + (place - origin) / SLOT_PITCH * step;
}

// The controls are made without a place; layOut puts them where the window's scale has them.
void createControls(HWND window)
{
    HINSTANCE module = GetModuleHandle(NULL);
    for (int tile = 1; tile <= TILE_COUNT; ++tile) {
        const INT_PTR id = static_cast<INT_PTR>(TILE_ID_STEP) * (tile + TILE_ID_OFFSET);
        tileButton[tile] = CreateWindowEx(0, L"BUTTON", L"", OWNER_DRAWN, 0, 0, 0, 0, window,
                                          reinterpret_cast<HMENU>(id), module, NULL);
    }
    for (const ControlRow &row : controlRows)
        *row.handle = CreateWindowEx(0, row.className, L"", row.style, 0, 0, 0, 0, window,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), module, NULL);
    SetDlgItemText(window, ID_OURCLOCK, L"0:00");
    SetDlgItemText(window, ID_MOVECOUNT, L"0");
}

void moveTileButton(int tile, int x, int y)
{
    MoveWindow(tileButton[tile], onBoard(x, BOARD_LEFT), onBoard(y, BOARD_TOP), atScale(TILE_SIZE), atScale(TILE_SIZE),
               TRUE);
}

// A font like the system's stock font, as high as it would be at the window's scale, and as
// wide as its face has it (Wine's system font keeps its 96-DPI width at every scale).
HFONT fontAtScale(int stock)
{
    LOGFONT font = {};
    GetObject(GetStockObject(stock), sizeof(font), &font);
    return CreateFont(MulDiv(font.lfHeight, dpi, systemDpi()), 0, 0, 0, font.lfWeight, font.lfItalic, FALSE, FALSE,
                      font.lfCharSet, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, font.lfPitchAndFamily,
                      font.lfFaceName);
}

// At 96 DPI the time and moves fields keep the system font (a field given no font has the
// system's) and the result field gets the default GUI font; at any other scale each gets one made
// like it for the window's scale.
void setFieldFonts()
{
    HFONT oldField = fieldFont;
    HFONT oldResult = resultFont;
    const bool baseScale = dpi == BASE_DPI && systemDpi() == BASE_DPI;
    fieldFont = baseScale ? NULL : fontAtScale(SYSTEM_FONT);
    resultFont = baseScale ? NULL : fontAtScale(DEFAULT_GUI_FONT);
    HGDIOBJ result = resultFont != NULL ? resultFont : GetStockObject(DEFAULT_GUI_FONT);
    SendMessage(hOurClock, WM_SETFONT, reinterpret_cast<WPARAM>(fieldFont), TRUE);
    SendMessage(hMoveCount, WM_SETFONT, reinterpret_cast<WPARAM>(fieldFont), TRUE);
    SendMessage(hResult, WM_SETFONT, reinterpret_cast<WPARAM>(result), TRUE);
    if (oldField != NULL)
        DeleteObject(oldField);
    if (oldResult != NULL)
        DeleteObject(oldResult);
}

// Lays the window out at its scale: every control at its place and size of the 96-DPI layout
// times the scale (each tile in the slot it stands in), the fields' fonts, the skin, and the
// picture's forms at the sizes the tiles and the preview now have.
void layOut(HWND window)
{
    for (int tile = 1; tile <= TILE_COUNT; ++tile)
        moveTileButton(tile, slotX[tileSlot[tile]], slotY[tileSlot[tile]]);
    for (const ControlRow &row : controlRows)
        MoveWindow(*row.handle, atScale(row.x), atScale(row.y), atScale(row.width), atScale(row.height), TRUE);
    setFieldFonts();
    useSkin(window, IDB_SKIN, atScale(WINDOW_WIDTH), atScale(WINDOW_HEIGHT), dpi);
    pictureForms(atScale(PREVIEW_SIZE), atScale(TILE_SIZE), 0);
}

// ---- Commands ----

void showEnd(HWND window, const wchar_t *result)
{
    KillTimer(window, ID_TIMER);
    SetDlgItemText(window, ID_RESULT, result);
    gameWon = RESULT_NONE;
}

void onTileClick(HWND window, int tile)
{
    if (gameRunning != 1)
        return;
    ID_BUT = tile;
    checkMove();
    if (validMove == 0 && QuikMove == 0) {
        playwav6();
        return;
    }
    if (mybells == BELLS_PICTURE)
        playwav8();
    else
        playwav3();

    const bool pushed = QuikMove != 0;
    if (pushed) {
        validMove = 0;
        int order[3];
        const QuickMove *push = findQuickMove(tile, QuikMove);
        const int count = push != nullptr ? quickMoveOrder(*push, order) : 0;
        for (int i = 0; i < count; ++i)
            moveTileButton(order[i], slotX[tileSlot[order[i]]], slotY[tileSlot[order[i]]]);
    } else {
        moveTileButton(tile, posah, posaz);
    }

    const bool checked = pushed ? pushCanEnd[tile] : stepCanEnd[tile];
    if (checked) {
        checkWin();
    } else {
        movenumber += 1;
        IntToString(movenumber);
    }
    SetDlgItemText(window, ID_MOVECOUNT, wideText(gameCount).c_str());
    if (checked && gameWon == RESULT_SOLVED)
        showEnd(window, L"Solved");
    else if (checked && gameWon == RESULT_UNSOLVABLE)
        showEnd(window, L"Unsolvable");
}

void onNewGame(HWND window)
{
    if (gameRunning != 0) {
        playwav6();
        return;
    }
    if (ticktock > 0)
        KillTimer(window, ID_TIMER);
    mincount = 0;
    ticktock = 0;
    halttick = 0;
    SetTimer(window, ID_TIMER, TICK_MILLISECONDS, NULL);
    playwav9();
    movenumber = 0;
    gameRunning = 1;
    SetDlgItemText(window, ID_MOVECOUNT, L"0");
    SetDlgItemText(window, ID_OURCLOCK, L"0:00");
    SetDlgItemText(window, ID_RESULT, L" ");
    fillboard();
    for (int tile = 1; tile <= TILE_COUNT; ++tile)
        moveTileButton(tile, tileX[tile], tileY[tile]);
    InvalidateRect(window, NULL, TRUE);
    UpdateWindow(window);
}

void redrawPicture()
{
    for (int tile = 1; tile <= TILE_COUNT; ++tile) {
        InvalidateRect(tileButton[tile], NULL, TRUE);
        UpdateWindow(tileButton[tile]);
    }
    InvalidateRect(hDisplay, NULL, TRUE);
    UpdateWindow(hDisplay);
}

// Shows the picture file chosen with Load .Bmp or dropped on the window.
void usePicture(const std::wstring &path)
{
    myimage = path;
    forgetPicture(); // the chosen file is read afresh, even when it is the one already shown
    mybells = fileNamePart(myimage);
    redrawPicture();
}

void onLoadPicture(HWND window)
{
    if (gameRunning != 0) {
        playwav7();
        return;
    }
    playwav1();
    wchar_t chosen[PATH_BUFFER] = {};
    const std::wstring filter = pictureFilter();
    OPENFILENAME dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = PATH_BUFFER;
    // A start folder longer than a path may be (the program deep in the folder tree) makes
    // the open-file dialog crash under Wine; the dialog then starts where it chooses.
    const bool startFolderFits = RestoreBmp.size() < static_cast<std::wstring::size_type>(PATH_BUFFER);
    dialog.lpstrInitialDir = startFolderFits ? RestoreBmp.c_str() : NULL;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    dialog.lpstrDefExt = L"";
    if (GetOpenFileName(&dialog) == 0)
        return;
    usePicture(chosen);
}

// A file dropped on the window does what choosing it with Load .Bmp does, with the same
// sounds, and is refused in the same way during a game.
void onDropFiles(HDROP drop)
{
    const std::wstring dropped = droppedFile(drop);
    if (gameRunning != 0) {
        playwav7();
        return;
    }
    playwav1();
    if (!dropped.empty())
        usePicture(dropped);
}

void onCancel(HWND window)
{
    if (gameRunning == 1) {
        playwav9();
        gameRunning = 0;
        gameWon = RESULT_NONE;
        KillTimer(window, ID_TIMER);
        SetDlgItemText(window, ID_RESULT, L"Canceled");
    } else {
        playwav6();
    }
}

void helpload()
{
    HINSTANCE opened = ShellExecute(NULL, L"open", HelpFiler.c_str(), NULL, NULL, SW_SHOW);
    if (reinterpret_cast<INT_PTR>(opened) <= 32)
        MessageBox(NULL, L"Help file could not be opened...", L"Error - Snowquill", MB_OK);
}

void onHelp(HWND)
{
    playwav1();
    helpload();
}

void onMinimize(HWND window)
{
    playwav2();
    ShowWindow(window, SW_MINIMIZE);
}

void onClose(HWND window)
{
    if (gameRunning == 1)
        KillTimer(window, ID_TIMER);
    DestroyWindow(window);
}

struct CommandRow {
    int id;
    void (*handler)(HWND);
};
const CommandRow commandRows[] = {
    {ID_START, onNewGame}, {ID_PICTURES, onLoadPicture}, {ID_CANCEL, onCancel},
    {ID_QUESTION, onHelp}, {ID_MINIMIZE, onMinimize},    {ID_CLOSEOUT, onClose},
};

// Tile number of a tile button's id, or 0 for any other control.
int tileOfControl(int id)
{
    if (id % TILE_ID_STEP != 0)
        return 0;
    const int tile = id / TILE_ID_STEP - TILE_ID_OFFSET;
    return tile >= 1 && tile <= TILE_COUNT ? tile : 0;
}

// An arrow key: what a click on the tile beside the empty slot, on the side the tile slides
// from, does; nothing where the board ends.
void onSlideKey(HWND window, int way)
{
    const int tile = tileToSlide(way);
    if (tile != 0)
        onTileClick(window, tile);
}

void onCommand(HWND window, int id)
{
    const int tile = tileOfControl(id);
    if (tile != 0) {
        onTileClick(window, tile);
        return;
    }
    if (id >= ID_SLIDE && id < ID_SLIDE + SLIDE_WAYS) {
        onSlideKey(window, id - ID_SLIDE);
        return;
    }
    for (const CommandRow &row : commandRows)
        if (row.id == id)
            row.handler(window);
}

// ---- Drawing ----

// A tile or preview whose picture can't be shown: a plain light square, with the tile's
// letter on a tile, so that the board stays playable.
void drawPlainTile(const DRAWITEMSTRUCT *item, int tile)
{
    HBRUSH fill = CreateSolidBrush(LIGHT_TILE);
    FillRect(item->hDC, &item->rcItem, fill);
    DeleteObject(fill);
    HBRUSH edge = CreateSolidBrush(LIGHT_EDGE);
    FrameRect(item->hDC, &item->rcItem, edge);
    DeleteObject(edge);
    if (tile == 0)
        return;
    HFONT font =
        CreateFont(-atScale(LETTER_HEIGHT), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                   CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
    HGDIOBJ previousFont = SelectObject(item->hDC, font);
    SetTextColor(item->hDC, LETTER_COLOUR);
    SetBkMode(item->hDC, TRANSPARENT);
    wchar_t letter[2] = {static_cast<wchar_t>(L'A' + tile - 1), L'\0'};
    RECT box = item->rcItem;
    DrawText(item->hDC, letter, 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(item->hDC, previousFont);
    DeleteObject(font);
}

// Tile n shows its own piece of the picture wherever it stands.
void drawTile(const DRAWITEMSTRUCT *item, int tile)
{
    if (!drawPicturePiece(item->hDC, item->rcItem, myimage.c_str(), tile - 1))
        drawPlainTile(item, tile);
}

void drawPreview(const DRAWITEMSTRUCT *item)
{
    if (!drawPictureWhole(item->hDC, item->rcItem, myimage.c_str()))
        drawPlainTile(item, 0);
}

void onDrawItem(int id, const DRAWITEMSTRUCT *item)
{
    const int tile = tileOfControl(id);
    if (tile != 0) {
        drawTile(item, tile);
        return;
    }
    if (id == ID_DISPLAY) {
        drawPreview(item);
        return;
    }
    for (const ButtonLook &look : buttonLooks)
        if (look.id == id)
            drawBitmapButton(item, look.normal, look.pressed, dpi);
}

// Draws an owner-drawn control in the window's own paint, at its place and as it would draw
// itself, where the paint reaches; adds the control's place to drawn.
void drawControlInPaint(HWND window, HDC context, HWND control, HRGN drawn)
{
    RECT place;
    GetClientRect(control, &place);
    MapWindowPoints(control, window, reinterpret_cast<POINT *>(&place), 2);
    if (!RectVisible(context, &place))
        return;
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = (SendMessage(control, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0 ? ODS_SELECTED : 0;
    item.hwndItem = control;
    item.hDC = context;
    item.rcItem = place;
    // Each control starts from the context as the paint left it, as its own paint would.
    const int saved = SaveDC(context);
    IntersectClipRect(context, place.left, place.top, place.right, place.bottom);
    onDrawItem(static_cast<int>(item.CtlID), &item);
    RestoreDC(context, saved);
    HRGN area = CreateRectRgnIndirect(&place);
    CombineRgn(drawn, drawn, area, RGN_OR);
    DeleteObject(area);
}

// The skin is the class background: erasing the background draws it. The tiles, the
// preview and the skinned buttons inside the part being painted are drawn in the same paint,
// and that part of them marked as painted at once: a control's own paint costs more than
// its drawing, and a whole window (uncovered, or a new deal) would otherwise take twenty-two
// of them. The three fields paint themselves.
void onPaint(HWND window)
{
    HRGN part = CreateRectRgn(0, 0, 0, 0);
    HRGN drawn = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window, part, FALSE);
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    for (int tile = 1; tile <= TILE_COUNT; ++tile)
        drawControlInPaint(window, context, tileButton[tile], drawn);
    for (const ControlRow &row : controlRows)
        if (row.style == OWNER_DRAWN)
            drawControlInPaint(window, context, *row.handle, drawn);
    EndPaint(window, &paint);
    if (CombineRgn(drawn, drawn, part, RGN_AND) != NULLREGION)
        RedrawWindow(window, NULL, drawn, RDW_VALIDATE | RDW_ALLCHILDREN);
    DeleteObject(drawn);
    DeleteObject(part);
}

// All three fields: black text on the light grey stock brush. The two simple fields fill
// their box with the text background colour rather than the brush, so that colour is
// the same grey.
LRESULT onCtlColorStatic(HDC context)
{
    SetTextColor(context, RGB(0, 0, 0));
    SetBkMode(context, TRANSPARENT);
    SetBkColor(context, FIELD_GREY);
    return reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));
}

// ---- Clock ----

void onTimer(HWND window)
{
    clocktick();
    if (timeUp != 0) {
        SetDlgItemText(window, ID_RESULT, L"Time's up!");
        KillTimer(window, ID_TIMER);
        timeUp = 0;
    }
    if (!tempcount.empty())
        SetDlgItemText(window, ID_OURCLOCK, wideText(tempcount).c_str());
}

// ---- Display scale ----

// The window moved to a monitor of another scale, or the scale changed: the window takes the
// place the platform suggests and is laid out again; the game goes on as it was.
void onDpiChanged(HWND window, WPARAM wParam, LPARAM lParam)
{
    dpi = takeNewDpi(window, wParam, lParam);
    layOut(window);
    InvalidateRect(window, NULL, TRUE);
}

} // namespace

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        onPaint(window);
        return 0;
    case WM_DRAWITEM:
        onDrawItem(LOWORD(wParam), reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return 0;
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam));
        break;
    case WM_TIMER:
        onTimer(window);
        return 0;
    case WM_CTLCOLORSTATIC:
        return onCtlColorStatic(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
        dragByTitle(window, titleRect, lParam, dpi);
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(window, wParam, lParam);
        return 0;
    case WM_DROPFILES:
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        break;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nShowCmd)
{
    findProgramFolder();
    installDefaultPicture();
    useCommandLinePicture(lpCmdLine);

    // The skin, the class's background brush, is set once the window knows its scale; the small
    // icon is the system's scale's.
    dpi = systemDpi();
    WNDCLASSEX windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = LoadIcon(NULL, IDI_APPLICATION);
    windowClass.hIconSm = static_cast<HICON>(LoadImage(GetModuleHandle(NULL), MAKEINTRESOURCE(IDI_SMALLICON),
                                                       IMAGE_ICON, atScale(SMALL_ICON), atScale(SMALL_ICON), 0));
    windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    windowClass.lpszClassName = szClassName;
    if (RegisterClassEx(&windowClass) == 0)
        return 0;

    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED); // the imaging component that decodes pictures
    HWND window = createScaledWindow(szClassName, L"Snowquill", WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_OFFSET_X,
                                     WINDOW_OFFSET_Y, &dpi);
    createControls(window);
    DragAcceptFiles(window, TRUE);
    setarray();
    layOut(window);
    ShowWindow(window, nShowCmd);

    const int code = runMessageLoop(window, keys, static_cast<int>(sizeof(keys) / sizeof(keys[0])));
    forgetPicture();
    forgetArtwork();
    if (fieldFont != NULL)
        DeleteObject(fieldFont);
    if (resultFont != NULL)
        DeleteObject(resultFont);
    CoUninitialize();
    return code;
}
