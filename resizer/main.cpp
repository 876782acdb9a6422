// Pixelhem: previews any picture stretched to 192 x 192 and saves what the preview
// shows as numbered 24-bit BMP files in the program's own folder, ready for Snowquill.
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "artwork.h"
#include "bitmapdraw.h"
#include "bmpfile.h"
#include "dpi.h"
#include "forms.h"
#include "handover.h"
#include "inttostring.h"
#include "keys.h"
#include "ownfolder.h"
#include "resource.h"
#include "sound.h"
#include "titledrag.h"

// The built-in sample picture, a complete BMP file installed beside the program.
extern const unsigned char sampleData[];
extern const unsigned long sampleDataSize;

// ---------------------------------------------------------------------------------------
// Process-wide state.

const wchar_t szClassName[] = L"Pixelhem";
const wchar_t SAMPLE_NAME[] = L"sample.bmp";
const wchar_t SAVED_NAME_START[] = L"Snowquill_Image0";
const wchar_t SAVED_NAME_END[] = L".bmp";

const int WINDOW_WIDTH = 544; // the skin's size at 96 DPI
const int WINDOW_HEIGHT = 374;
const int WINDOW_OFFSET_X = 270; // left = half the screen width - 270
const int WINDOW_OFFSET_Y = 190; // top = half the screen height - 190
const int PREVIEW_SIZE = 192;    // the preview at 96 DPI, and the pictures saved from it at any scale

// The title bar painted on the skin, in client coordinates: a press inside drags the window.
RECT titleRect = {0, 0, 480, 25};

std::wstring myimage;      // the picture that the preview shows
std::wstring getDrivePath; // the program's folder, ending in a backslash
std::wstring portimage;    // the folder that receives saved pictures
std::wstring sampleBitmap; // where the sample picture is installed
std::wstring finalpath;    // the file that the next capture writes
std::string gameCount;     // decimal text of the save number (IntToString)
int clicker = 0;           // numbers used up by accepted saves; the newest file's number
int loadbmp = 0;           // successful Get Preview choices in this run
int dpi = BASE_DPI;        // the window's display scale; the places and sizes here are the 96-DPI layout's

HWND hPicture = NULL;
HWND hGrab = NULL;
HWND hShow = NULL;
HWND hMinimize = NULL;
HWND hCloseOut = NULL;

// The five owner-drawn controls, in the order they are created, with the bitmaps that
// draw them at rest and held down (0 for the preview, which draws the picture file).
struct ControlEntry {
    HWND *handle;
    int id;
    int x, y, width, height;
    int normalBitmap, pressedBitmap;
};

const ControlEntry controls[] = {
    {&hPicture, ID_PICTURE, 53, 78, PREVIEW_SIZE, PREVIEW_SIZE, 0, 0},
    {&hGrab, ID_GRAB, 415, 257, 94, 28, IDB_GRAB, IDB_GRAB_DOWN},
    {&hShow, ID_SHOW, 315, 257, 95, 28, IDB_SHOW, IDB_SHOW_DOWN},
    {&hMinimize, ID_MINIMIZE, 500, 4, 18, 19, IDB_MINIMIZE, IDB_MINIMIZE_DOWN},
    {&hCloseOut, ID_CLOSEOUT, 520, 4, 19, 19, IDB_CLOSE, IDB_CLOSE_DOWN},
};

// The keys, whichever control has the focus: the commands of the two buttons.
const ACCEL keys[] = {
    {FVIRTKEY | FCONTROL, 'O', ID_SHOW},
    {FVIRTKEY | FCONTROL, 'S', ID_GRAB},
};

// ---------------------------------------------------------------------------------------
// Sounds.

void playwav1()
{
    playResourceWave(IDW_CLICK);
}
void playwav2()
{
    playResourceWave(IDW_BLIP);
}

// ---------------------------------------------------------------------------------------
// Files.

bool fileExists(const std::wstring &path)
{
    return GetFileAttributes(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes the sample picture beside the program unless a file of that name is already
// there, whatever it holds. A sample that can't be written completely is removed again,
// so that the next start tries afresh.
void installSample()
{
    writeNewFile(sampleBitmap, sampleData, sampleDataSize);
}

// Sets finalpath to the name of the next saved picture: the next number of this run,
// moved on past every name that is already taken in the folder.
void nextSaveName()
{
    do {
        clicker += 1;
        finalpath = portimage;
        IntToString(clicker);
        finalpath += SAVED_NAME_START;
        finalpath += wideText(gameCount);
        finalpath += SAVED_NAME_END;
    } while (fileExists(finalpath));
}

// ---------------------------------------------------------------------------------------
// Drawing.

// Draws the picture named by myimage stretched over the whole of area with HALFTONE: at the
// preview's size on the screen, or at the size it is saved at, whatever the screen's scale. A
// file that isn't a usable picture gives an empty dark square.
void drawPreview(HDC target, const RECT &area, bool saved)
{
    const bool drawn =
        saved ? drawPictureSaved(target, area, myimage.c_str()) : drawPictureWhole(target, area, myimage.c_str());
    if (!drawn)
        FillRect(target, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// Writes what the preview shows at 96 DPI, the picture stretched to 192 x 192, into the file
// named by finalpath, as a 24-bit BMP file: the same file at any scale of the screen. The
// picture is drawn from its forms into a bitmap of its own, so a covered, off-screen or
// minimised window saves the same pixels. Never replaces an existing file; true only when the
// whole file was written. A file that could not be written completely is removed again.
bool CaptureWindow()
{
    const int width = PREVIEW_SIZE;
    const int height = PREVIEW_SIZE;
    std::vector<unsigned char> file(BMP_HEADERS_SIZE);
    fillCaptureHeader(file.data(), width, height);
    const unsigned long imageSize = captureImageSize(width, height);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = imageSize;

    bool saved = false;
    HDC memory = CreateCompatibleDC(NULL);
    void *pixels = NULL;
    HBITMAP bitmap = memory != NULL ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &pixels, NULL, 0) : NULL;
    if (bitmap != NULL && pixels != NULL) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        const RECT area = {0, 0, width, height};
        drawPreview(memory, area, true);
        GdiFlush();
        const unsigned char *bytes = static_cast<const unsigned char *>(pixels);
        file.insert(file.end(), bytes, bytes + imageSize);
        saved = writeNewFile(finalpath, file.data(), static_cast<unsigned long>(file.size()));
        SelectObject(memory, previous);
    }
    if (memory != NULL)
        DeleteDC(memory);
    if (bitmap != NULL)
        DeleteObject(bitmap);
    return saved;
}

// ---------------------------------------------------------------------------------------
// Message handlers.

void onDrawItem(const DRAWITEMSTRUCT *item)
{
    if (item->CtlID == ID_PICTURE) {
        drawPreview(item->hDC, item->rcItem, false);
        return;
    }
    for (const ControlEntry &control : controls) {
        if (static_cast<int>(item->CtlID) == control.id) {
            drawBitmapButton(item, control.normalBitmap, control.pressedBitmap, dpi);
            return;
        }
    }
}

// Shows the picture file chosen with Get Preview or dropped on the window in the preview at
// once, and counts it as chosen.
void usePicture(const std::wstring &path)
{
    myimage = path;
    forgetPicture(); // the chosen file is read afresh, even when it is the one already shown
    InvalidateRect(hPicture, NULL, TRUE);
    UpdateWindow(hPicture);
    loadbmp += 1;
}

// Get Preview: choose a picture file and show it in the preview at once.
void onGetPreview(HWND window)
{
    playwav1();
    wchar_t chosen[MAX_PATH] = L"";
    const std::wstring filter = pictureFilter();
    OPENFILENAME dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    dialog.lpstrDefExt = L"";
    if (!GetOpenFileName(&dialog))
        return;
    usePicture(chosen);
}

// A file dropped on the window does what choosing it with Get Preview does.
void onDropFiles(HDROP drop)
{
    const std::wstring dropped = droppedFile(drop);
    playwav1();
    if (!dropped.empty())
        usePicture(dropped);
}

// Save .Bmp: refused with a beep until a picture has been chosen, and answered with the
// same beep when the file can't be written.
void onSaveBmp()
{
    if (loadbmp == 0) {
        MessageBeep(MB_OK);
        return;
    }
    playwav1();
    nextSaveName();
    if (!CaptureWindow())
        MessageBeep(MB_OK);
}

void onMinimize(HWND window)
{
    playwav2();
    ShowWindow(window, SW_MINIMIZE);
}

void onCommand(HWND window, int id)
{
    switch (id) {
    case ID_SHOW:
        onGetPreview(window);
        break;
    case ID_GRAB:
        onSaveBmp();
        break;
    case ID_MINIMIZE:
        onMinimize(window);
        break;
    case ID_CLOSEOUT:
        DestroyWindow(window);
        break;
    default: // the preview and anything else: nothing
        break;
    }
}

// A length of the 96-DPI layout at the window's scale.
int atScale(int length)
{
    return scaled(length, dpi);
}

// Lays the window out at its scale: every control at its place and size of the 96-DPI layout
// times the scale, the skin, and the picture's forms: the preview at its size on the screen,
// and the saved picture at 192 x 192.
void layOut(HWND window)
{
    for (const ControlEntry &control : controls)
        MoveWindow(*control.handle, atScale(control.x), atScale(control.y), atScale(control.width),
                   atScale(control.height), TRUE);
    useSkin(window, IDB_SKIN, atScale(WINDOW_WIDTH), atScale(WINDOW_HEIGHT), dpi);
    pictureForms(atScale(PREVIEW_SIZE), 0, PREVIEW_SIZE);
}

// The window moved to a monitor of another scale, or the scale changed: the window takes the
// place the platform suggests and is laid out again.
void onDpiChanged(HWND window, WPARAM wParam, LPARAM lParam)
{
    dpi = takeNewDpi(window, wParam, lParam);
    layOut(window);
    InvalidateRect(window, NULL, TRUE);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM:
        onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        dragByTitle(window, titleRect, lParam, dpi);
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(window, wParam, lParam);
        return 0;
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam));
        break;
    case WM_DROPFILES:
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------
// Start-up.

void findPaths()
{
    getDrivePath = programFolder();
    portimage = getDrivePath;
    sampleBitmap = getDrivePath + SAMPLE_NAME;
    myimage = sampleBitmap;
}

// A picture file named on the command line is shown from the start in place of the sample,
// and counts as chosen: Save .Bmp saves it at once.
void useCommandLinePicture(const wchar_t *commandLine)
{
    const std::wstring named = commandLinePicture(commandLine);
    if (named.empty())
        return;
    myimage = named;
    loadbmp = 1;
}

// The controls are made without a place; layOut puts them where the window's scale has them.
void createControls(HWND window, HINSTANCE instance)
{
    for (const ControlEntry &control : controls) {
        *control.handle = CreateWindowEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0, window,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, NULL);
    }
}

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nShowCmd)
{
    findPaths();
    installSample();
    useCommandLinePicture(lpCmdLine);

    // The skin, the class's background brush, is set once the window knows its scale.
    WNDCLASSEX windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = LoadIcon(NULL, IDI_APPLICATION);
    windowClass.hIconSm = LoadIcon(NULL, IDI_APPLICATION);
    windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    windowClass.lpszClassName = szClassName;
    if (RegisterClassEx(&windowClass) == 0)
        return 0;

    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED); // the imaging component that decodes pictures
    HWND window = createScaledWindow(szClassName, L"Pixelhem", WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_OFFSET_X,
                                     WINDOW_OFFSET_Y, &dpi);
    createControls(window, GetModuleHandle(NULL));
    DragAcceptFiles(window, TRUE);
    layOut(window);
    ShowWindow(window, nShowCmd);

    const int code = runMessageLoop(window, keys, static_cast<int>(sizeof(keys) / sizeof(keys[0])));
    forgetPicture();
    forgetArtwork();
    CoUninitialize();
    UnregisterClass(szClassName, hInstance);
    return code;
}
