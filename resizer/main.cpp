// Pixelhem: previews any picture stretched to 192 x 192 and saves what the preview
// shows as numbered 24-bit BMP files in the program's own folder, ready for Snowquill.
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "bitmapdraw.h"
#include "bmpfile.h"
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

const int WINDOW_WIDTH = 544; // the skin's size
const int WINDOW_HEIGHT = 374;
const int WINDOW_OFFSET_X = 270; // left = half the screen width - 270
const int WINDOW_OFFSET_Y = 190; // top = half the screen height - 190
const int PREVIEW_SIZE = 192;    // the preview, and the pictures saved from it

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

// Draws the picture named by myimage stretched over the whole of area with HALFTONE, the
// same for the screen and for a saved file. A file that isn't a usable bitmap gives an
// empty dark square.
void drawPreview(HDC target, const RECT &area)
{
    if (!drawPictureWhole(target, area, myimage.c_str()))
        FillRect(target, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// Writes what the preview shows in window (its whole client area) into the file named by
// finalpath, as a 24-bit BMP file. The picture is drawn afresh into a bitmap of its own,
// so a covered, off-screen or minimised window saves the same pixels. Never replaces an
// existing file; true only when the whole file was written. A file that could not be
// written completely is removed again.
bool CaptureWindow(HWND window)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return false;

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
    HDC windowContext = GetDC(window);
    HDC memory = windowContext != NULL ? CreateCompatibleDC(windowContext) : NULL;
    void *pixels = NULL;
    HBITMAP bitmap = memory != NULL ? CreateDIBSection(windowContext, &info, DIB_RGB_COLORS, &pixels, NULL, 0) : NULL;
    if (bitmap != NULL && pixels != NULL) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        const RECT area = {0, 0, width, height};
        drawPreview(memory, area);
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
    if (windowContext != NULL)
        ReleaseDC(window, windowContext);
    return saved;
}

// ---------------------------------------------------------------------------------------
// Message handlers.

void onDrawItem(const DRAWITEMSTRUCT *item)
{
    if (item->CtlID == ID_PICTURE) {
        drawPreview(item->hDC, item->rcItem);
        return;
    }
    for (const ControlEntry &control : controls) {
        if (static_cast<int>(item->CtlID) == control.id) {
            drawBitmapButton(item, control.normalBitmap, control.pressedBitmap);
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
    if (!CaptureWindow(hPicture))
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

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM:
        onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        dragByTitle(window, titleRect, lParam);
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

void createControls(HWND window, HINSTANCE instance)
{
    for (const ControlEntry &control : controls) {
        *control.handle = CreateWindowEx(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, control.x, control.y,
                                         control.width, control.height, window,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, NULL);
    }
}

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nShowCmd)
{
    findPaths();
    installSample();
    useCommandLinePicture(lpCmdLine);

    // The skin becomes the class's background brush, which keeps its own copy of it.
    HBITMAP skin =
        static_cast<HBITMAP>(LoadImage(hInstance, MAKEINTRESOURCE(IDB_SKIN), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HBRUSH skinBrush = CreatePatternBrush(skin);
    if (skin != NULL)
        DeleteObject(skin);

    WNDCLASSEX windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = LoadIcon(NULL, IDI_APPLICATION);
    windowClass.hIconSm = LoadIcon(NULL, IDI_APPLICATION);
    windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    windowClass.hbrBackground = skinBrush;
    windowClass.lpszClassName = szClassName;
    if (RegisterClassEx(&windowClass) == 0) {
        if (skinBrush != NULL)
            DeleteObject(skinBrush);
        return 0;
    }

    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED); // the imaging component that decodes pictures
    HWND window = CreateWindowEx(
        0, szClassName, L"Pixelhem", WS_POPUP | WS_SYSMENU, GetSystemMetrics(SM_CXSCREEN) / 2 - WINDOW_OFFSET_X,
        GetSystemMetrics(SM_CYSCREEN) / 2 - WINDOW_OFFSET_Y, WINDOW_WIDTH, WINDOW_HEIGHT, NULL, NULL, hInstance, NULL);
    createControls(window, GetModuleHandle(NULL));
    DragAcceptFiles(window, TRUE);
    pictureForms(PREVIEW_SIZE, PREVIEW_SIZE, 0);
    ShowWindow(window, nShowCmd);

    const int code = runMessageLoop(window, keys, static_cast<int>(sizeof(keys) / sizeof(keys[0])));
    forgetPicture();
    CoUninitialize();
    UnregisterClass(szClassName, hInstance);
    if (skinBrush != NULL)
        DeleteObject(skinBrush);
    return code;
}
