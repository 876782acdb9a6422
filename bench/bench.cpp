// What a move costs: the game and the resizer driven from outside under Wine, an earlier
// build and this one side by side, for pictures of 192 x 192 up to 8000 x 6000.
//
//   move      a tile click (BM_CLICK, sent) until the game has painted all it left to paint;
//   board     the fifteen tiles and the preview invalidated and repainted by the game, with
//             the picture drawn already;
//   window    the whole window, as when it is uncovered: marked to be painted again, skin,
//             controls and fields, and painted by the game's own message loop; until no part
//             of it has anything left to paint and a message sent to it has come back;
//   first     the board repainted just after the picture file changed on disk, so that the
//             game reads it again; against the floor of one LoadImageA of the file plus the
//             sixteen stretches of its pieces and preview, timed in the benchmark's process,
//             whole and less the board repaint it includes (what reading the picture adds);
//   preview   the resizer's preview repainted; save: a click on Save .Bmp until it returns;
//   memory    the game's working set with the picture loaded and drawn.
// With --photos=<folder>, this build only (the earlier one reads BMP files alone) also draws
// photo-like JPEG and PNG files of 4000 x 3000 and 8000 x 6000 from that folder, in the same
// game after the BMP files: their first draw against its floor of one decode of the whole file
// by the imaging component (WIC: decoder, first frame, conversion to premultiplied BGRA, its
// pixels copied into a DIB section) and the same stretches, and against the floor of a decode
// through WIC's own scaler straight to 192 x 192 (the pieces' 4 x 48) and the stretches from
// that; then the same moves, repaints and working set as for the BMP files.
// With --dpi=<scale> (and --photos), in a run of its own: the game at that display scale, with
// the 192 x 192 picture and the 8000 x 6000 JPEG photo: its first draw against the floor at the
// tiles' and preview's sizes there, its moves and repaints.
// Medians of several runs. The window repaint is also given as the earlier benchmark drove
// it, part by part from this process, in a table of its own: there the messages between the
// processes cost more than the drawing.
//
//   bench.exe --work=<folder> --game=<exe> --pixelhem=<exe> --keep=<figures>    (the earlier build)
//   bench.exe --work=<folder> --game=<exe> --pixelhem=<exe> --earlier=<figures> --photos=<folder>
//             --out=<table.md>
//   bench.exe --work=<folder> --game=<exe> --dpi=192 --photos=<folder> --out=<table.md>
#include "driver.h"

#include <windows.h>
#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fatal(const std::string &what)
{
    e2e::check(false, "cannot go on: " + what);
    std::exit(e2e::finish());
}

struct Size {
    int width, height, runs; // fewer runs for the big pictures, slow in the earlier build
};
const Size SIZES[] = {{192, 192, 25}, {1024, 768, 15}, {4000, 3000, 5}, {8000, 6000, 3}};
const int SIZE_COUNT = 4;
struct Photo {
    const char *name;
    int runs;
};
const Photo PHOTOS[] = {{"4000x3000.jpg", 5}, {"4000x3000.png", 5}, {"8000x6000.jpg", 3}, {"8000x6000.png", 3}};
const int SCALED_SIDE = 192; // the scaler's output: 4 x 48, the pieces' size
const int MOVE_RUNS = 15;
const double FRAME_MS = 1000.0 / 60.0;
const int TILE = 48; // the tiles' and the preview's sides at 96 DPI
const int PREVIEW = 88;

int dpi = 96; // the display scale the game is measured at (--dpi)

// A side of the 96-DPI layout at the scale measured.
int atScale(int side)
{
    return (side * dpi + 48) / 96;
}

// The controls used, by the ids that game/resource.h and resizer/resource.h give them.
const int ID_START = 2000, ID_PICTURES = 3500, ID_CANCEL = 3700, ID_CLOSEOUT = 300, ID_DISPLAY = 3900;
const int ID_PIXELHEM_PREVIEW = 450, ID_PIXELHEM_SAVE = 550, ID_PIXELHEM_GET = 650, ID_PIXELHEM_CLOSE = 300;

double nowMs()
{
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Median time of runs calls of action.
double timed(int runs, const std::function<void()> &action)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double from = nowMs();
        action();
        times.push_back(nowMs() - from);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A 24-bit bottom-up BMP of a colourful gradient, written a row at a time.
bool writePicture(const std::string &path, int width, int height)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    unsigned char header[54] = {'B', 'M'};
    auto put = [&](int at, DWORD value) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    put(2, 54 + imageSize);
    put(10, 54);
    put(14, 40);
    put(18, static_cast<DWORD>(width));
    put(22, static_cast<DWORD>(height));
    put(26, 1 | (24 << 16)); // planes, bits per pixel
    put(34, imageSize);
    DWORD written = 0;
    bool ok = WriteFile(file, header, sizeof(header), &written, NULL) && written == sizeof(header);
    std::vector<unsigned char> row(stride, 0);
    for (int y = height - 1; ok && y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            unsigned char *pixel = &row[static_cast<size_t>(x) * 3];
            pixel[0] = static_cast<unsigned char>(60 + ((x / 16 + y / 16) % 2) * 100);
            pixel[1] = static_cast<unsigned char>(30 + (y * 200) / height);
            pixel[2] = static_cast<unsigned char>(40 + (x * 200) / width);
        }
        ok = WriteFile(file, row.data(), stride, &written, NULL) && written == stride;
    }
    CloseHandle(file);
    return ok;
}

// Moves the file's last-write time on, as an editor saving it again would.
void touch(const std::string &path)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    FILETIME written;
    GetSystemTimeAsFileTime(&written);
    SetFileTime(file, NULL, NULL, &written);
    CloseHandle(file);
}

// The floor of a first draw: read() gives the picture at its own size, then the HALFTONE
// stretches of its fifteen pieces onto the tiles' size and of the whole onto the preview's (48 x
// 48 and 88 x 88 at 96 DPI), into a bitmap like the screen's. The time of both.
double firstDrawFloor(const std::function<HBITMAP()> &read)
{
    HDC screen = GetDC(NULL);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP targetBitmap = CreateCompatibleBitmap(screen, atScale(PREVIEW), atScale(PREVIEW));
    HGDIOBJ previousTarget = SelectObject(target, targetBitmap);
    const double from = nowMs();
    HBITMAP bitmap = read();
    BITMAP record = {};
    GetObjectA(bitmap, sizeof(record), &record);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const int w = record.bmWidth / 4, h = record.bmHeight / 4;
    SetStretchBltMode(target, HALFTONE);
    for (int piece = 0; piece < 15; ++piece)
        StretchBlt(target, 0, 0, atScale(TILE), atScale(TILE), memory, (piece % 4) * w, (piece / 4) * h, w, h, SRCCOPY);
    StretchBlt(target, 0, 0, atScale(PREVIEW), atScale(PREVIEW), memory, 0, 0, record.bmWidth, record.bmHeight,
               SRCCOPY);
    GdiFlush();
    const double took = nowMs() - from;
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    SelectObject(target, previousTarget);
    DeleteObject(targetBitmap);
    DeleteDC(target);
    ReleaseDC(NULL, screen);
    return took;
}

HBITMAP loadBmp(const std::string &path)
{
    return static_cast<HBITMAP>(LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// A top-down 32-bit DIB section of width x height holding source's pixels, converted to
// premultiplied BGRA; NULL when they can't be had.
HBITMAP dibOf(IWICBitmapSource *source, UINT width, UINT height)
{
    IWICBitmapSource *converted = NULL;
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, source, &converted)))
        return NULL;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *pixels = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &pixels, NULL, 0);
    if (bitmap != NULL &&
        FAILED(converted->CopyPixels(NULL, width * 4, width * height * 4, static_cast<BYTE *>(pixels)))) {
        DeleteObject(bitmap);
        bitmap = NULL;
    }
    converted->Release();
    return bitmap;
}

// The file's first frame decoded by WIC, whole or, for a side other than 0, through WIC's
// scaler to side x side (nearest neighbour, as the pieces' stretch).
HBITMAP decodeWithWic(const std::string &path, UINT side)
{
    IWICImagingFactory *factory = NULL;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return NULL;
    const std::wstring wide(path.begin(), path.end());
    IWICBitmapDecoder *decoder = NULL;
    IWICBitmapFrameDecode *frame = NULL;
    IWICBitmapScaler *scaler = NULL;
    HBITMAP bitmap = NULL;
    UINT width = 0, height = 0;
    if (SUCCEEDED(factory->CreateDecoderFromFilename(wide.c_str(), NULL, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height))) {
        if (side == 0)
            bitmap = dibOf(frame, width, height);
        else if (SUCCEEDED(factory->CreateBitmapScaler(&scaler)) &&
                 SUCCEEDED(scaler->Initialize(frame, side, side, WICBitmapInterpolationModeNearestNeighbor)))
            bitmap = dibOf(scaler, side, side);
    }
    if (scaler != NULL)
        scaler->Release();
    if (frame != NULL)
        frame->Release();
    if (decoder != NULL)
        decoder->Release();
    factory->Release();
    return bitmap;
}

// Marks the given part of the window (all of it for NULL), with its controls, to be
// painted again, and waits until the program has painted it.
void repaint(HWND window, HRGN part)
{
    RedrawWindow(window, NULL, part, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    e2e::settle(window);
}

// The same repaint, but driven control by control from here: each is asked to paint at
// once by a message from this process, whose cost then outweighs the drawing.
void repaintFromOutside(HWND window)
{
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Where the control lies in the window's client area.
RECT placeOf(HWND window, HWND control)
{
    RECT place = {};
    GetWindowRect(control, &place);
    MapWindowPoints(NULL, window, reinterpret_cast<POINT *>(&place), 2);
    return place;
}

// Repaints the board's tiles and the preview, and nothing else.
void paintBoard(HWND window)
{
    HRGN board = CreateRectRgn(0, 0, 0, 0);
    for (int id = 500; id <= 1900; id += 100) {
        const RECT place = placeOf(window, GetDlgItem(window, id));
        HRGN tile = CreateRectRgnIndirect(&place);
        CombineRgn(board, board, tile, RGN_OR);
        DeleteObject(tile);
    }
    const RECT previewPlace = placeOf(window, GetDlgItem(window, ID_DISPLAY));
    HRGN preview = CreateRectRgnIndirect(&previewPlace);
    CombineRgn(board, board, preview, RGN_OR);
    repaint(window, board);
    DeleteObject(preview);
    DeleteObject(board);
}

// Opens the program's file dialog with its button and chooses path in it.
void choose(e2e::Program &program, HWND window, int button, const std::string &path)
{
    e2e::clickPosted(GetDlgItem(window, button));
    HWND dialog = e2e::waitForDialog(program.process.dwProcessId, 10000);
    DWORD_PTR result = 0;
    if (dialog == NULL || !e2e::chooseFile(dialog, path, 120000) ||
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result) == 0)
        fatal("the file dialog did not take " + path);
}

// A tile beside the empty slot, from where the tile windows stand, at any scale: the slots'
// columns and rows are the places the tiles take (three tiles at least in each).
HWND movableTile(HWND window)
{
    std::vector<LONG> lefts;
    std::vector<LONG> tops;
    for (int tile = 1; tile <= 15; ++tile) {
        lefts.push_back(placeOf(window, GetDlgItem(window, 100 * (tile + 4))).left);
        tops.push_back(placeOf(window, GetDlgItem(window, 100 * (tile + 4))).top);
    }
    std::vector<LONG> columns = lefts;
    std::vector<LONG> rows = tops;
    std::sort(columns.begin(), columns.end());
    std::sort(rows.begin(), rows.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    int slotOf[16] = {};
    bool taken[16] = {};
    for (int tile = 1; tile <= 15; ++tile) {
        const auto column = std::find(columns.begin(), columns.end(), lefts[tile - 1]) - columns.begin();
        const auto row = std::find(rows.begin(), rows.end(), tops[tile - 1]) - rows.begin();
        slotOf[tile] = static_cast<int>(std::min<std::ptrdiff_t>(row * 4 + column, 15));
        taken[slotOf[tile]] = true;
    }
    const int empty = static_cast<int>(std::find(taken, taken + 16, false) - taken);
    for (int tile = 1; tile <= 15; ++tile) {
        const int rowsApart = slotOf[tile] / 4 - empty / 4, columnsApart = slotOf[tile] % 4 - empty % 4;
        if (rowsApart * rowsApart + columnsApart * columnsApart == 1)
            return GetDlgItem(window, 100 * (tile + 4));
    }
    fatal("no tile beside the empty slot");
}

struct Figures {
    double move = 0, board = 0, window = 0, outside = 0, first = 0, preview = 0, save = 0, memoryMb = 0;
};

// A picture file the game is measured with.
struct Picture {
    std::string path, label;
    int runs;
};

void measureGame(const std::string &exe, const std::string &folder, const std::vector<Picture> &pictures,
                 std::vector<Figures> &figures)
{
    e2e::Program game;
    if (!e2e::start(game, exe, folder))
        fatal("the game did not start");
    HWND window = e2e::waitForWindow(game, "Snowquill");
    if (window == NULL)
        fatal("no game window");
    e2e::settle(window);
    figures.resize(pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int runs = pictures[i].runs;
        choose(game, window, ID_PICTURES, pictures[i].path);
        e2e::settle(window);
        figures[i].first = timed(runs, [&]() {
            touch(pictures[i].path);
            paintBoard(window);
        });
        figures[i].board = timed(runs, [&]() { paintBoard(window); });
        figures[i].window = timed(runs, [&]() { repaint(window, NULL); });
        figures[i].outside = timed(runs, [&]() { repaintFromOutside(window); });
        PROCESS_MEMORY_COUNTERS memory = {};
        GetProcessMemoryInfo(game.process.hProcess, &memory, sizeof(memory));
        figures[i].memoryMb = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
        e2e::click(GetDlgItem(window, ID_START), 120000);
        e2e::settle(window);
        // At least MOVE_RUNS moves at every size: the moves are compared across the sizes.
        figures[i].move = timed(std::max(runs, MOVE_RUNS), [&]() {
            e2e::click(movableTile(window), 120000);
            e2e::settle(window);
        });
        e2e::click(GetDlgItem(window, ID_CANCEL), 120000);
        std::printf("  game, %s: move %.2f ms, board %.2f ms, window %.2f ms (from outside %.2f ms), first %.2f "
                    "ms, %.1f MB\n",
                    pictures[i].label.c_str(), figures[i].move, figures[i].board, figures[i].window, figures[i].outside,
                    figures[i].first, figures[i].memoryMb);
        std::fflush(stdout);
    }
    e2e::click(GetDlgItem(window, ID_CLOSEOUT));
    WaitForSingleObject(game.process.hProcess, 10000);
}

void measureResizer(const std::string &exe, const std::string &folder, const std::vector<Picture> &pictures,
                    std::vector<Figures> &figures)
{
    e2e::Program resizer;
    if (!e2e::start(resizer, exe, folder))
        fatal("the resizer did not start");
    HWND window = e2e::waitForWindow(resizer, "Pixelhem");
    if (window == NULL)
        fatal("no resizer window");
    HWND preview = GetDlgItem(window, ID_PIXELHEM_PREVIEW);
    figures.resize(pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int runs = SIZES[i].runs;
        choose(resizer, window, ID_PIXELHEM_GET, pictures[i].path);
        e2e::settle(window);
        figures[i].preview = timed(runs, [&]() {
            RedrawWindow(preview, NULL, NULL, RDW_INVALIDATE);
            e2e::settle(window);
        });
        figures[i].save = timed(std::min(runs, 5), [&]() { e2e::click(GetDlgItem(window, ID_PIXELHEM_SAVE), 120000); });
        std::printf("  resizer, %s: preview %.2f ms, save %.2f ms\n", pictures[i].label.c_str(), figures[i].preview,
                    figures[i].save);
        std::fflush(stdout);
    }
    e2e::click(GetDlgItem(window, ID_PIXELHEM_CLOSE));
    WaitForSingleObject(resizer.process.hProcess, 10000);
}

std::string ms(double value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f ms", value);
    return text;
}

std::string mb(double value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f MB", value);
    return text;
}

void setScale(int scale)
{
    const DWORD value = static_cast<DWORD>(scale);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &value, sizeof(value));
}

// At another display scale (--dpi), in a run of its own: the game alone, with the 192 x 192
// picture and the 8000 x 6000 JPEG photo; the floors at the tiles' and the preview's sizes there.
int measureAtScale()
{
    setScale(dpi);
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    const std::string small = e2e::joinPath(e2e::freshFolder("pictures"), "192x192.bmp");
    const std::string photo = e2e::joinPath(e2e::requiredOption("photos"), "8000x6000.jpg");
    if (!writePicture(small, 192, 192))
        fatal("could not write " + small);
    const std::vector<Picture> pictures = {{small, "192 x 192", 25}, {photo, "8000 x 6000 JPEG", 3}};
    std::vector<double> floors;
    firstDrawFloor([&]() { return loadBmp(small); });
    floors.push_back(timed(25, [&]() { firstDrawFloor([&]() { return loadBmp(small); }); }));
    firstDrawFloor([&]() { return decodeWithWic(photo, 0); });
    floors.push_back(timed(3, [&]() { firstDrawFloor([&]() { return decodeWithWic(photo, 0); }); }));
    std::vector<Figures> figures;
    measureGame(e2e::requiredOption("game"), e2e::freshFolder("game"), pictures, figures);
    setScale(96);
    std::string table = "| Picture | Move | Board repaint | Window repaint | First draw | First-draw floor | "
                        "First / floor | First over board / floor |\n|---|---|---|---|---|---|---|---|\n";
    for (size_t i = 0; i < pictures.size(); ++i) {
        const Figures &f = figures[i];
        char ratio[64];
        std::snprintf(ratio, sizeof(ratio), "%.2f | %.2f", f.first / floors[i], (f.first - f.board) / floors[i]);
        table += "| " + pictures[i].label + " | " + ms(f.move) + (f.move <= FRAME_MS ? "" : " (over a frame)") + " | " +
                 ms(f.board) + " | " + ms(f.window) + " | " + ms(f.first) + " | " + ms(floors[i]) + " | " + ratio +
                 " |\n";
    }
    std::printf("\n%s", table.c_str());
    e2e::writeFile(e2e::requiredOption("out"), table);
    return e2e::finish();
}

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "what a move costs");
    if (!e2e::option("dpi").empty()) {
        dpi = std::atoi(e2e::option("dpi").c_str());
        return measureAtScale();
    }
    const std::string work = e2e::windowsPath(e2e::requiredOption("work"));
    const std::string pictureFolder = e2e::freshFolder("pictures");
    std::vector<Picture> pictures;
    std::vector<double> floors;
    for (const Size &size : SIZES) {
        const std::string label = std::to_string(size.width) + " x " + std::to_string(size.height);
        const std::string path =
            e2e::joinPath(pictureFolder, std::to_string(size.width) + "x" + std::to_string(size.height) + ".bmp");
        if (!writePicture(path, size.width, size.height))
            fatal("could not write " + path);
        pictures.push_back({path, label, size.runs});
        firstDrawFloor([&]() { return loadBmp(path); }); // the first read brings the file into the cache
        floors.push_back(timed(size.runs, [&]() { firstDrawFloor([&]() { return loadBmp(path); }); }));
    }
    // The photos, with the floors of a whole decode and of a decode through WIC's scaler.
    std::vector<double> scaledFloors;
    if (!e2e::option("photos").empty()) {
        CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
        for (const Photo &photo : PHOTOS) {
            const std::string path = e2e::joinPath(e2e::option("photos"), photo.name);
            const std::string name = photo.name;
            const std::string label = name.substr(0, name.find('x')) + " x " +
                                      name.substr(name.find('x') + 1, name.find('.') - name.find('x') - 1) + " " +
                                      (name.find(".jpg") != std::string::npos ? "JPEG" : "PNG");
            pictures.push_back({path, label, photo.runs});
            firstDrawFloor([&]() { return decodeWithWic(path, 0); });
            floors.push_back(timed(photo.runs, [&]() { firstDrawFloor([&]() { return decodeWithWic(path, 0); }); }));
            scaledFloors.push_back(
                timed(photo.runs, [&]() { firstDrawFloor([&]() { return decodeWithWic(path, SCALED_SIDE); }); }));
        }
    }

    // One build a run, each in a Wine server of its own: a second game in the same run repaints
    // more slowly than the first, whichever it is. The earlier build's figures go through a file.
    std::vector<Figures> before(SIZE_COUNT), after, resized;
    measureGame(e2e::requiredOption("game"), e2e::freshFolder("game"), pictures, after);
    measureResizer(e2e::requiredOption("pixelhem"), e2e::freshFolder("pixelhem"),
                   std::vector<Picture>(pictures.begin(), pictures.begin() + SIZE_COUNT), resized);
    for (int i = 0; i < SIZE_COUNT; ++i) {
        after[i].preview = resized[i].preview;
        after[i].save = resized[i].save;
    }
    std::string kept;
    if (!e2e::option("keep").empty()) {
        for (const Figures &f : after)
            kept += std::to_string(f.move) + " " + std::to_string(f.board) + " " + std::to_string(f.window) + " " +
                    std::to_string(f.outside) + " " + std::to_string(f.first) + " " + std::to_string(f.preview) + " " +
                    std::to_string(f.save) + " " + std::to_string(f.memoryMb) + "\n";
        e2e::writeFile(e2e::option("keep"), kept);
        return e2e::finish();
    }
    std::istringstream earlier(e2e::fileText(e2e::requiredOption("earlier")));
    for (Figures &f : before)
        earlier >> f.move >> f.board >> f.window >> f.outside >> f.first >> f.preview >> f.save >> f.memoryMb;

    std::string table =
        "| Picture | Move | Move over 192 x 192 | Board repaint | Window repaint | First draw | "
        "First-draw floor | First / floor | First over board / floor | Resizer preview | Save | Game working set |\n"
        "|---|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (int i = 0; i < SIZE_COUNT; ++i) {
        for (int build = 0; build < 2; ++build) {
            const Figures &f = build == 0 ? before[i] : after[i];
            const Figures &small = build == 0 ? before[0] : after[0];
            char ratio[64];
            std::snprintf(ratio, sizeof(ratio), "%.2f | %.2f", f.first / floors[i], (f.first - f.board) / floors[i]);
            table += "| " + std::to_string(SIZES[i].width) + " x " + std::to_string(SIZES[i].height) +
                     (build == 0 ? ", earlier" : ", **now**") + " | " + ms(f.move) + " | " + ms(f.move - small.move) +
                     " | " + ms(f.board) + " | " + ms(f.window) + (f.window <= FRAME_MS ? "" : " (over a frame)") +
                     " | " + ms(f.first) + " | " + ms(floors[i]) + " | " + ratio + " | " + ms(f.preview) + " | " +
                     ms(f.save) + " | " + mb(f.memoryMb) + " |\n";
        }
    }
    table += "\nThe same window repaint driven from the benchmark's process, as the earlier benchmark measured it "
             "(RedrawWindow with RDW_UPDATENOW: a message from one process to the other for each part of the window "
             "that still has something to paint, 26 in the earlier build, 4 in this one):\n\n"
             "| Picture | Earlier | Now |\n|---|---|---|\n";
    for (int i = 0; i < SIZE_COUNT; ++i)
        table += "| " + std::to_string(SIZES[i].width) + " x " + std::to_string(SIZES[i].height) + " | " +
                 ms(before[i].outside) + " | " + ms(after[i].outside) + " |\n";
    if (!scaledFloors.empty()) {
        table += "\nPhoto-like JPEG and PNG files (this build only), drawn in the same game after the BMP files. The "
                 "first draw's floor is one decode of the whole file by the imaging component (WIC: decoder, first "
                 "frame, conversion to premultiplied BGRA, pixels copied into a DIB section) and the sixteen "
                 "stretches; the scaled floor decodes through WIC's own scaler to 192 x 192 and stretches from that. "
                 "The working set is against the 192 x 192 BMP's, " +
                 mb(after[0].memoryMb) +
                 ":\n\n"
                 "| Picture | First draw | First-draw floor | First / floor | First over board / floor | "
                 "Scaled floor | Move | Board repaint | Window repaint | Game working set |\n"
                 "|---|---|---|---|---|---|---|---|---|---|\n";
        for (size_t i = SIZE_COUNT; i < pictures.size(); ++i) {
            const Figures &f = after[i];
            char ratio[64];
            std::snprintf(ratio, sizeof(ratio), "%.2f | %.2f", f.first / floors[i], (f.first - f.board) / floors[i]);
            table += "| " + pictures[i].label + " | " + ms(f.first) + " | " + ms(floors[i]) + " | " + ratio + " | " +
                     ms(scaledFloors[i - SIZE_COUNT]) + " | " + ms(f.move) + " | " + ms(f.board) + " | " +
                     ms(f.window) + " | " + mb(f.memoryMb) + " (" + mb(f.memoryMb - after[0].memoryMb) + " more) |\n";
        }
    }
    std::printf("\n%s", table.c_str());
    const std::string out = e2e::option("out");
    if (!out.empty())
        e2e::writeFile(out, table);
    return e2e::finish();
}
