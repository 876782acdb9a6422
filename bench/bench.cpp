// What a move costs: the game driven from outside under Wine, timed side by side with the
// floor of what one draw of a tile must cost.
//
// For pictures of 192 x 192, 1024 x 768, 4000 x 3000 and 8000 x 6000 it measures
//   move     from a tile click (BM_CLICK, sent) until the moved tile and everything the
//            move left to paint is painted (RedrawWindow with RDW_UPDATENOW, which under
//            Wine paints another process's windows before it returns);
//   repaint  a whole-board repaint: the fifteen tiles and the preview each drawn once (made
//            to draw with BM_SETSTATE, which draws a button at once inside the game);
//   floor    one LoadImageA of the same file with LR_LOADFROMFILE and one StretchBlt of a
//            piece onto 48 x 48, timed here in the benchmark's own process;
// and, once, the time from starting the game to the first complete paint of its window.
// Medians of several runs; the costs are given as multiples of the floor.
//
//   bench.exe --game=<snowquill.exe> --work=<folder> [--out=<results.md>]
#include "driver.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Size {
    int width;
    int height;
    int runs; // fewer for the big pictures, whose every draw reads tens of megabytes
};
const Size SIZES[] = {{192, 192, 40}, {1024, 768, 30}, {4000, 3000, 8}, {8000, 6000, 4}};
const int STARTS = 5;
const double FRAME_MS = 1000.0 / 60.0;

const int ID_START = 2000;
const int ID_PICTURES = 3500;
const int ID_CANCEL = 3700;
const int ID_DISPLAY = 3900;
int tileId(int tile) { return 100 * (tile + 4); }

double milliseconds(const LARGE_INTEGER &from, const LARGE_INTEGER &to)
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER tick()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
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
    auto put = [&](int at, DWORD value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            header[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    put(2, 54 + imageSize, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<DWORD>(width), 4);
    put(22, static_cast<DWORD>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, imageSize, 4);
    DWORD written = 0;
    bool ok = WriteFile(file, header, sizeof(header), &written, NULL) && written == sizeof(header);
    std::vector<unsigned char> row(stride, 0);
    for (int y = height - 1; ok && y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = static_cast<size_t>(x) * 3;
            row[at] = static_cast<unsigned char>(60 + ((x / 16 + y / 16) % 2) * 100);
            row[at + 1] = static_cast<unsigned char>(30 + (y * 200) / height);
            row[at + 2] = static_cast<unsigned char>(40 + (x * 200) / width);
        }
        ok = WriteFile(file, row.data(), stride, &written, NULL) && written == stride;
    }
    CloseHandle(file);
    return ok;
}

// The floor: one load of the file and one stretch of a piece onto a 48 x 48 target.
double floorOnce(const std::string &path, HDC target)
{
    const LARGE_INTEGER from = tick();
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    BITMAP record = {};
    GetObjectA(bitmap, sizeof(record), &record);
    HDC memory = CreateCompatibleDC(NULL);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    StretchBlt(target, 0, 0, 48, 48, memory, record.bmWidth / 4, record.bmHeight / 4, record.bmWidth / 4,
               record.bmHeight / 4, SRCCOPY);
    GdiFlush();
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return milliseconds(from, tick());
}

bool paintPending(HWND window) { return RedrawWindow(window, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN) != FALSE; }

struct Game {
    e2e::Program program;
    HWND window = NULL;
    HWND tile[16] = {};
};

bool startGame(Game &game, const std::string &folder)
{
    // The recording stand-in for winmm.dll: it takes each sound call and plays nothing, so
    // that what is timed is the drawing, not the sound system of the machine.
    e2e::StartOptions options;
    if (!e2e::start(game.program, e2e::requiredOption("game"), folder, options))
        return false;
    game.window = e2e::waitForWindow(game.program, "Snowquill");
    if (game.window == NULL)
        return false;
    for (int tile = 1; tile <= 15; ++tile)
        game.tile[tile] = e2e::child(game.window, tileId(tile));
    return true;
}

int emptySlot(const Game &game)
{
    bool taken[17] = {};
    for (int tile = 1; tile <= 15; ++tile) {
        const RECT rect = e2e::rectInClient(game.tile[tile], game.window);
        const int slot = ((rect.top - 75) / 50) * 4 + (rect.left - 50) / 50 + 1;
        if (slot >= 1 && slot <= 16)
            taken[slot] = true;
    }
    for (int slot = 1; slot <= 16; ++slot)
        if (!taken[slot])
            return slot;
    return 0;
}

// A tile that stands beside the empty slot.
int movableTile(const Game &game)
{
    const int empty = emptySlot(game);
    for (int tile = 1; tile <= 15; ++tile) {
        const RECT rect = e2e::rectInClient(game.tile[tile], game.window);
        const int slot = ((rect.top - 75) / 50) * 4 + (rect.left - 50) / 50 + 1;
        const int dr = (slot - 1) / 4 - (empty - 1) / 4;
        const int dc = (slot - 1) % 4 - (empty - 1) % 4;
        if (dr * dr + dc * dc == 1)
            return tile;
    }
    return 0;
}

bool loadPicture(Game &game, const std::string &path)
{
    e2e::clickPosted(e2e::child(game.window, ID_PICTURES));
    HWND dialog = e2e::waitForDialog(game.program.process.dwProcessId, 10000);
    if (dialog == NULL || !e2e::chooseFile(dialog, path, 120000))
        return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(game.window, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result) != 0;
}

struct Row {
    Size size;
    double fileMb = 0;
    double floorMs = 0;
    double moveMs = 0;
    double repaintMs = 0;
    double screenFloorMs = 0; // the floor drawn onto a window of the benchmark's own
    double tileMs = 0;        // one tile alone repainted
    double previewMs = 0;     // the preview alone repainted (the whole picture, HALFTONE)
};

// A draw of owner-drawn controls forced from here: BM_SETSTATE, sent, makes the button
// draw itself at once inside the game (one WM_DRAWITEM each; the game draws the whole
// control whatever the reason). Pressed, then released again: two draws of each control.
// Returns the time of one draw of all of them. A repaint by invalidation instead would race
// the game's own message loop, which may paint a control a second time.
double drawControls(const std::vector<HWND> &controls, int runs)
{
    std::vector<double> times;
    times.reserve(static_cast<size_t>(runs));
    for (int run = 0; run < runs; ++run) {
        const LARGE_INTEGER from = tick();
        for (HWND control : controls)
            SendMessageA(control, BM_SETSTATE, TRUE, 0);
        for (HWND control : controls)
            SendMessageA(control, BM_SETSTATE, FALSE, 0);
        times.push_back(milliseconds(from, tick()) / 2.0);
    }
    return median(times);
}

// Start-up to the first complete paint: the window's pixels polled until they are those
// of a settled window of an earlier start.
double startupMs(const std::string &work)
{
    const std::string folder = e2e::joinPath(work, "startup");
    Game first;
    if (!startGame(first, folder))
        e2e::fatal("the game did not start");
    Sleep(1500);
    const e2e::Image settled = e2e::captureWindow(first.window);
    e2e::click(e2e::child(first.window, 300));
    e2e::waitForExit(first.program, 10000);

    std::vector<double> times;
    for (int run = 0; run < STARTS; ++run) {
        e2e::Program program;
        const LARGE_INTEGER from = tick();
        // Started in place, where the default picture is already written, as on any start
        // after the first.
        std::string commandLine = "\"" + first.program.exe + "\"";
        std::vector<char> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        if (!CreateProcessA(first.program.exe.c_str(), buffer.data(), NULL, NULL, FALSE, 0, NULL,
                            first.program.folder.c_str(), &startup, &program.process))
            e2e::fatal("could not start the game again");
        CloseHandle(program.process.hThread);
        HWND window = NULL;
        double took = -1.0;
        while (milliseconds(from, tick()) < 20000.0) {
            if (window == NULL) {
                for (HWND candidate : e2e::topWindows(program.process.dwProcessId, "Snowquill"))
                    if (IsWindowVisible(candidate))
                        window = candidate;
            }
            if (window != NULL && e2e::matchShare(e2e::captureWindow(window), settled, 2) > 0.999) {
                took = milliseconds(from, tick());
                break;
            }
            Sleep(2);
        }
        if (window != NULL)
            SendMessageA(e2e::child(window, 300), BM_CLICK, 0, 0);
        if (WaitForSingleObject(program.process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(program.process.hProcess, 1);
        CloseHandle(program.process.hProcess);
        if (took >= 0.0)
            times.push_back(took);
    }
    return median(times);
}

std::string format(const char *pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof(text), pattern, value);
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "what a move costs");
    const std::string work = e2e::windowsPath(e2e::requiredOption("work"));
    const std::string pictures = e2e::joinPath(work, "pictures");
    e2e::makeFolders(pictures);

    std::vector<Row> rows;
    Game game;
    if (!startGame(game, e2e::joinPath(work, "game")))
        e2e::fatal("the game did not start");
    HWND preview = e2e::child(game.window, ID_DISPLAY);
    // A small window of the benchmark's own, to time the floor onto a window as well.
    HWND own = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 48, 48, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
    HDC ownDc = GetDC(own);
    HDC screen = GetDC(NULL);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP targetBitmap = CreateCompatibleBitmap(screen, 48, 48);
    HGDIOBJ previousTarget = SelectObject(target, targetBitmap);

    for (const Size &size : SIZES) {
        Row row;
        row.size = size;
        const std::string path =
            e2e::joinPath(pictures, "bench_" + std::to_string(size.width) + "x" + std::to_string(size.height) + ".bmp");
        if (!e2e::fileExists(path) && !writePicture(path, size.width, size.height))
            e2e::fatal("could not write " + path);
        row.fileMb = (54.0 + ((size.width * 3 + 3) & ~3) * static_cast<double>(size.height)) / (1024.0 * 1024.0);
        std::printf("%d x %d (%.1f MB)\n", size.width, size.height, row.fileMb);
        std::fflush(stdout);
        if (!loadPicture(game, path))
            e2e::fatal("Load .Bmp did not take " + path);

        std::vector<double> floors;
        floors.reserve(static_cast<size_t>(size.runs));
        floorOnce(path, target); // the first read brings the file into the cache
        for (int run = 0; run < size.runs; ++run)
            floors.push_back(floorOnce(path, target));
        row.floorMs = median(floors);
        std::vector<double> screenFloors;
        screenFloors.reserve(static_cast<size_t>(size.runs));
        for (int run = 0; run < size.runs; ++run)
            screenFloors.push_back(floorOnce(path, ownDc));
        row.screenFloorMs = median(screenFloors);

        e2e::click(e2e::child(game.window, ID_START), 120000);
        paintPending(game.window);
        std::vector<double> moves;
        moves.reserve(static_cast<size_t>(size.runs));
        for (int run = 0; run < size.runs; ++run) {
            const int tile = movableTile(game);
            if (tile == 0)
                e2e::fatal("no tile beside the empty slot");
            const LARGE_INTEGER from = tick();
            e2e::click(game.tile[tile], 120000);
            paintPending(game.window);
            moves.push_back(milliseconds(from, tick()));
        }
        row.moveMs = median(moves);
        e2e::click(e2e::child(game.window, ID_CANCEL), 120000);
        paintPending(game.window);

        std::vector<HWND> board(game.tile + 1, game.tile + 16);
        board.push_back(preview);
        row.repaintMs = drawControls(board, size.runs);
        row.tileMs = drawControls({game.tile[6]}, size.runs);
        row.previewMs = drawControls({preview}, size.runs);
        std::printf("  floor %.2f ms (onto a window %.2f ms), move %.2f ms, repaint %.2f ms (one tile %.2f ms, the "
                    "preview %.2f ms)\n",
                    row.floorMs, row.screenFloorMs, row.moveMs, row.repaintMs, row.tileMs, row.previewMs);
        rows.push_back(row);
    }
    SelectObject(target, previousTarget);
    DeleteObject(targetBitmap);
    DeleteDC(target);
    ReleaseDC(NULL, screen);
    ReleaseDC(own, ownDc);
    DestroyWindow(own);
    e2e::click(e2e::child(game.window, 300));
    e2e::waitForExit(game.program, 10000);

    const double startup = startupMs(work);

    std::string table = "| Picture | File | Floor: LoadImageA + StretchBlt of a piece | Move: click to repainted "
                        "| Move / floor | Board repaint: 15 tiles + preview | Repaint / floor | One tile alone "
                        "| Preview alone | Floor onto a window | Move within a frame (16.7 ms)? "
                        "|\n|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (const Row &row : rows) {
        table += "| " + std::to_string(row.size.width) + " x " + std::to_string(row.size.height) + " | " +
                 format("%.1f MB", row.fileMb) + " | " + format("%.2f ms", row.floorMs) + " | " +
                 format("%.2f ms", row.moveMs) + " | " + format("%.1f", row.moveMs / row.floorMs) + " | " +
                 format("%.2f ms", row.repaintMs) + " | " + format("%.1f", row.repaintMs / row.floorMs) + " | " +
                 format("%.2f ms", row.tileMs) + " | " + format("%.2f ms", row.previewMs) + " | " +
                 format("%.2f ms", row.screenFloorMs) + " | " + (row.moveMs <= FRAME_MS ? "yes" : "**no**") + " |\n";
    }
    table += "\nStart-up to the first complete paint of the window (median of " + std::to_string(STARTS) +
             " starts, the default picture already in place): " + format("%.0f ms", startup) + "\n";
    std::printf("\n%s", table.c_str());
    const std::string out = e2e::option("out");
    if (!out.empty())
        e2e::writeFile(out, table);
    return e2e::finish();
}
