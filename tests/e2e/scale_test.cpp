// Both programs at display scales of 100, 125, 150 and 200 % (96, 120, 144 and 192 DPI, which a
// program reads from the registry as it starts): every control at its place and size at 96 DPI
// times the scale, the board an even grid; the fields' widest texts inside their fields; at
// 200 % the game's skin the generator's 200 % drawing itself, pixel for pixel;
// a real photo's tiles and preview judged against the photo; the same saved file at every scale;
// and a WM_DPICHANGED that lays the game out at 200 %, the game under way going on as it was.
#include <algorithm>
#include <map>
#include <set>

#include "driver.h"
#include "resource.h"

using namespace e2e;

namespace {

const int SCALES[] = {96, 120, 144, 192};
const int DOUBLE = 192;
const int PREVIEW = 450; // the resizer's preview and Save .Bmp
const int SAVE = 550;
const COLORREF INK = 96; // text is darker than this in every colour; the fields are light grey

using Layout = std::map<int, RECT>; // the controls' places in the window, by id; the window's under 0

Program program;

int atScale(int length, int dpi)
{
    return (length * dpi + 48) / 96;
}

// The scale the programs started next read, from the registry.
void setScale(int dpi)
{
    const DWORD value = static_cast<DWORD>(dpi);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &value, sizeof(value));
}

Layout layoutOf(HWND window)
{
    Layout places;
    GetClientRect(window, &places[0]);
    for (HWND control = GetWindow(window, GW_CHILD); control != NULL; control = GetWindow(control, GW_HWNDNEXT)) {
        RECT &place = places[GetDlgCtrlID(control)];
        GetWindowRect(control, &place);
        MapWindowPoints(NULL, window, reinterpret_cast<POINT *>(&place), 2);
    }
    return places;
}

// The tiles' places along one side: four, evenly apart with a gap between tiles, the first where
// the board starts at the scale and the last within it.
bool evenGrid(const std::set<LONG> &places, LONG size, int start, int end, int dpi)
{
    const std::vector<LONG> at(places.begin(), places.end());
    return at.size() == 4 && at[0] == atScale(start, dpi) && at[1] - at[0] > size && at[2] - at[1] == at[1] - at[0] &&
           at[3] - at[2] == at[1] - at[0] && at[3] + size <= atScale(end, dpi) + 1;
}

// Checks every control at its 96-DPI size times the scale and, but for the tiles, at its 96-DPI
// place times the scale; the tiles in an even grid from where the board starts and within it.
// Returns the board as they stand: the letter of the tile in each slot, '.' for the empty one.
string checkLayout(const Layout &layout, const Layout &at96, int dpi, Text what)
{
    std::set<LONG> columns;
    std::set<LONG> rows;
    for (const auto &[id, place] : layout) {
        const RECT &was = at96.at(id);
        const bool tile = id >= ID_BUTTONA && id <= ID_BUTTONO;
        const bool placed = tile || (place.left == atScale(was.left, dpi) && place.top == atScale(was.top, dpi));
        check(placed && place.right - place.left == atScale(was.right - was.left, dpi) &&
                  place.bottom - place.top == atScale(was.bottom - was.top, dpi),
              what + ": control " + to_string(id) + " at its place");
        if (tile)
            columns.insert(place.left);
        if (tile)
            rows.insert(place.top);
    }
    string board(16, '.');
    for (int id = ID_BUTTONA; id <= ID_BUTTONO && layout.count(id) != 0; id += TILE_ID_STEP) {
        const auto column = std::distance(columns.begin(), columns.find(layout.at(id).left));
        const auto row = std::distance(rows.begin(), rows.find(layout.at(id).top));
        board[static_cast<size_t>(row * 4 + column) % 16] = static_cast<char>('A' + (id - ID_BUTTONA) / TILE_ID_STEP);
    }
    const LONG size = layout.count(ID_BUTTONA) != 0 ? layout.at(ID_BUTTONA).right - layout.at(ID_BUTTONA).left : 0;
    check(size == 0 || (evenGrid(columns, size, 50, 248, dpi) && evenGrid(rows, size, 75, 273, dpi)),
          what + ": the board an even grid within its frame");
    return board;
}

// The fields' text is inside them (no ink in a field's last column or row) and made for the
// scale: its letters at least half as high as the field, as at 96 DPI.
void checkFields(int dpi)
{
    for (int id : {ID_OURCLOCK, ID_MOVECOUNT, ID_RESULT}) {
        const Image seen = captureWindow(GetDlgItem(program.window, id));
        int top = seen.height;
        int bottom = 0;
        bool cut = false;
        for (int y = 0; y < seen.height; ++y)
            for (int x = 0; x < seen.width; ++x) {
                const bool ink = (seen.at(x, y) & 0xFF) < INK;
                top = ink ? std::min(top, y) : top;
                bottom = ink ? std::max(bottom, y + 1) : bottom;
                cut = cut || (ink && (x == seen.width - 1 || y == seen.height - 1));
            }
        check(2 * (bottom - top) >= seen.height && !cut,
              "the text of field " + to_string(id) + " inside it and as high as its scale at " + to_string(dpi));
    }
}

// At 200 % the game's skin below its buttons (the greeting, the lights, the holly) is the
// generator's 200 % drawing, pixel for pixel: no 1x bitmap enlarged.
void checkDrawings()
{
    const Image seen = captureWindow(program.window);
    const Image drawn = pictureOf(picture("skin_200.png"));
    bool same = seen.width == drawn.width && seen.height == drawn.height;
    for (size_t i = static_cast<size_t>(atScale(290, DOUBLE)) * seen.width; same && i < seen.pixels.size(); ++i)
        same = seen.pixels[i] == drawn.pixels[i];
    check(same, "the skin is the 200 % drawing");
}

string fields()
{
    string texts;
    for (int id : {ID_OURCLOCK, ID_MOVECOUNT, ID_RESULT})
        texts += text(GetDlgItem(program.window, id)) + "|";
    return texts;
}

// A game under way laid out at 200 % by WM_DPICHANGED, with the rectangle the platform would
// suggest written into the game's memory: the board, the clock, the moves and the result stay.
void changeToDouble(const Layout &at96)
{
    group("WM_DPICHANGED from 96 to 192 DPI, a game under way");
    const string before = checkLayout(layoutOf(program.window), at96, 96, "before") + fields();
    const RECT suggested = {0, 0, atScale(644, DOUBLE), atScale(374, DOUBLE)};
    void *at = VirtualAllocEx(program.process.hProcess, NULL, sizeof(suggested), MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(program.process.hProcess, at, &suggested, sizeof(suggested), NULL);
    SendMessageA(program.window, WM_DPICHANGED, MAKEWPARAM(DOUBLE, DOUBLE), reinterpret_cast<LPARAM>(at));
    checkText(checkLayout(layoutOf(program.window), at96, DOUBLE, "after") + fields(), before, "the game as it was");
    showsPieces(program, ID_DISPLAY, 16, picture("rocket.jpg"), "the photo after WM_DPICHANGED");
}

// Starts the program at the scale with the photo named on its command line; checks its layout (against the one at 96
// DPI, kept in at96) and the photo it shows.
void begin(const char *exe, int dpi, Layout &at96, int previewId, int pieces)
{
    group(string(exe) + " at " + to_string(dpi) + " DPI");
    setScale(dpi);
    StartOptions options;
    options.arguments = "\"" + picture("rocket.jpg") + "\"";
    start(program, requiredOption(exe), freshFolder(exe + to_string(dpi)), options);
    waitForWindow(program, NULL);
    if (dpi == 96)
        at96 = layoutOf(program.window);
    checkLayout(layoutOf(program.window), at96, dpi, exe);
    showsPieces(program, previewId, pieces, picture("rocket.jpg"), "the photo");
}

void gameAt(int dpi, Layout &at96)
{
    begin("game", dpi, at96, ID_DISPLAY, 16);
    click(GetDlgItem(program.window, ID_START));
    if (dpi == 96)
        changeToDouble(at96);
    for (int i = 0; i < 3600; ++i) // "59:59" and "Time's up!", the widest texts
        SendMessageA(program.window, WM_TIMER, ID_TIMER, 0);
    checkFields(dpi);
    if (dpi == DOUBLE)
        checkDrawings();
    terminate(program);
}

// The saved file, the same at every scale as at 96 DPI.
void resizerAt(int dpi, Layout &at96, string &saved)
{
    begin("pixelhem", dpi, at96, PREVIEW, 1);
    const string file = joinPath(requiredOption("work"), "pixelhem" + to_string(dpi) + "\\Snowquill_Image01.bmp");
    click(GetDlgItem(program.window, SAVE));
    if (dpi == 96)
        saved = fileText(file);
    check(saved.size() == 110646 && fileText(file) == saved, "the saved file, 192 x 192, the same at every scale");
    terminate(program);
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "both programs at every display scale");
    Layout game96;
    Layout resizer96;
    string saved;
    for (int dpi : SCALES) {
        gameAt(dpi, game96);
        resizerAt(dpi, resizer96, saved);
    }
    setScale(96);
    return finish();
}
