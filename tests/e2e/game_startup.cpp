// Start-up of the game window: its size and place, the 25 controls, the fields' first
// texts, and the default picture written beside the program (and never replaced).
#include "game_support.h"

#include <cctype>
#include <cstdio>

using namespace e2e;
using namespace game;

namespace {

struct ControlSpec {
    int id;
    const char *className;
    LONG style;
    int x, y, width, height;
};

const LONG OWNER_DRAWN = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;            // 0x5000000B
const LONG PLAIN_FIELD = WS_CHILD | WS_VISIBLE | SS_SIMPLE | SS_NOPREFIX; // 0x5000008B
const LONG RESULT_FIELD = WS_CHILD | WS_VISIBLE | SS_CENTER;              // 0x50000001

// In creation order.
const ControlSpec controls[] = {
    {500, "Button", OWNER_DRAWN, 50, 75, 48, 48},     {600, "Button", OWNER_DRAWN, 100, 75, 48, 48},
    {700, "Button", OWNER_DRAWN, 150, 75, 48, 48},    {800, "Button", OWNER_DRAWN, 200, 75, 48, 48},
    {900, "Button", OWNER_DRAWN, 50, 125, 48, 48},    {1000, "Button", OWNER_DRAWN, 100, 125, 48, 48},
    {1100, "Button", OWNER_DRAWN, 150, 125, 48, 48},  {1200, "Button", OWNER_DRAWN, 200, 125, 48, 48},
    {1300, "Button", OWNER_DRAWN, 50, 175, 48, 48},   {1400, "Button", OWNER_DRAWN, 100, 175, 48, 48},
    {1500, "Button", OWNER_DRAWN, 150, 175, 48, 48},  {1600, "Button", OWNER_DRAWN, 200, 175, 48, 48},
    {1700, "Button", OWNER_DRAWN, 50, 225, 48, 48},   {1800, "Button", OWNER_DRAWN, 100, 225, 48, 48},
    {1900, "Button", OWNER_DRAWN, 150, 225, 48, 48},  {3500, "Button", OWNER_DRAWN, 413, 257, 94, 28},
    {2000, "Button", OWNER_DRAWN, 315, 257, 93, 28},  {3700, "Button", OWNER_DRAWN, 512, 257, 95, 28},
    {3900, "Button", OWNER_DRAWN, 516, 66, 88, 88},   {150, "Button", OWNER_DRAWN, 585, 4, 18, 19},
    {2600, "Button", OWNER_DRAWN, 603, 4, 18, 19},    {300, "Button", OWNER_DRAWN, 620, 4, 19, 19},
    {2450, "Static", PLAIN_FIELD, 451, 71, 48, 18},   {2400, "Static", PLAIN_FIELD, 451, 101, 38, 18},
    {3800, "Static", RESULT_FIELD, 429, 132, 71, 15},
};

std::string hex(unsigned long value)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", value);
    return text;
}

bool sameClass(const std::string &actual, const char *expected)
{
    if (actual.size() != std::string(expected).size())
        return false;
    for (size_t i = 0; i < actual.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(actual[i])) !=
            std::tolower(static_cast<unsigned char>(expected[i])))
            return false;
    return true;
}

// Every tile shows its own 48 x 48 piece of this 192 x 192 picture, unscaled.
void checkTilesShow(Game &game, const Image &picture, const std::string &which)
{
    for (int tile = 1; tile <= TILES; ++tile) {
        const Image expected = expectedPiece(picture, tile);
        Image seen;
        const bool shown = waitFor(
            [&]() {
                seen = view(game.tile[tile]);
                return matchShare(seen, expected, 2) >= 0.99;
            },
            3000);
        if (!check(shown, std::string("tile ") + tileLetter(tile) + " shows its piece of " + which + " (" +
                              std::to_string(static_cast<int>(matchShare(seen, expected, 2) * 100)) +
                              "% of pixels match)"))
            keepImage(seen, std::string("tile-") + tileLetter(tile));
    }
}

// The preview shows the whole picture reduced to 88 x 88: close to a plain reduction.
void checkPreviewShows(Game &game, const Image &picture, const std::string &which)
{
    const Image expected = resizeNearest(picture, 88, 88);
    Image seen;
    double share = 0;
    waitFor(
        [&]() {
            seen = view(game.preview);
            share = matchShare(seen, expected, 48);
            return share >= 0.8;
        },
        3000);
    if (!check(share >= 0.8, "the preview shows " + which + " (" + std::to_string(static_cast<int>(share * 100)) +
                                 "% of pixels close to a plain reduction)"))
        keepImage(seen, "preview");
}

void checkWindowAndControls(Game &game)
{
    group("window size and place");
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const RECT rect = screenRect(game.window);
    checkEqual(rect.left, screenWidth / 2 - 320, "window left edge");
    checkEqual(rect.top, screenHeight / 2 - 190, "window top edge");
    checkEqual(rect.right - rect.left, 644, "window width");
    checkEqual(rect.bottom - rect.top, 374, "window height");
    if (screenWidth == 1024 && screenHeight == 768)
        check(rect.left == 192 && rect.top == 194,
              "on a 1024 x 768 screen the window stands at (192, 194), not " + describe(rect));
    RECT client = {};
    GetClientRect(game.window, &client);
    check(client.right == 644 && client.bottom == 374,
          "no frame: the client area is the whole window, not " + describe(client));
    const LONG windowStyle = style(game.window);
    check((windowStyle & WS_POPUP) && (windowStyle & WS_SYSMENU),
          "window style has WS_POPUP and WS_SYSMENU: " + hex(static_cast<unsigned long>(windowStyle)));
    check(!(windowStyle & (WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX)),
          "window has no caption, frame or sizing: " + hex(static_cast<unsigned long>(windowStyle)));
    checkText(text(game.window), "Snowquill", "window title");

    group("the 25 controls");
    const std::vector<HWND> all = children(game.window);
    checkEqual(static_cast<long long>(all.size()), 25, "number of child controls");
    size_t index = 0;
    for (const ControlSpec &row : controls) {
        context("control " + std::to_string(row.id));
        HWND control = child(game.window, row.id);
        if (!check(control != NULL, "control " + std::to_string(row.id) + " exists")) {
            ++index;
            continue;
        }
        check(index < all.size() && all[index] == control,
              "control " + std::to_string(row.id) + " is number " + std::to_string(index + 1) + " in creation order");
        check(sameClass(className(control), row.className),
              "class of " + std::to_string(row.id) + ": " + className(control) + ", expected " + row.className);
        check(style(control) == row.style, "style of " + std::to_string(row.id) + ": " +
                                               hex(static_cast<unsigned long>(style(control))) + ", expected " +
                                               hex(static_cast<unsigned long>(row.style)));
        const RECT place = rectInClient(control, game.window);
        RECT expected = {row.x, row.y, row.x + row.width, row.y + row.height};
        check(EqualRect(&place, &expected) != 0,
              "rectangle of " + std::to_string(row.id) + ": " + describe(place) + ", expected " + describe(expected));
        ++index;
    }
    context("");

    group("first texts of the fields");
    checkText(clockField(game), "0:00", "time field");
    checkText(movesField(game), "0", "moves field");
    checkText(resultField(game), "", "result field");
    expectSounds(game, {}, "sounds at start-up");
}

// The skin behind the controls, the six bitmap buttons at rest, the three fields.
void checkLooks(Game &game)
{
    group("how the window looks");
    Image skin;
    if (!check(loadResourceBitmap(game.program.exe, IDB_SKIN, skin) && skin.width == 644 && skin.height == 374,
               "the game holds its 644 x 374 skin"))
        return;
    std::vector<RECT> controlsRects;
    for (HWND control : children(game.window))
        controlsRects.push_back(rectInClient(control, game.window));
    Image seen;
    double share = 0;
    waitFor(
        [&]() {
            seen = captureWindow(game.window);
            size_t compared = 0;
            size_t same = 0;
            for (int y = 0; y < skin.height && seen.height == skin.height; ++y)
                for (int x = 0; x < skin.width && seen.width == skin.width; ++x) {
                    POINT point = {x, y};
                    bool onControl = false;
                    for (const RECT &rect : controlsRects)
                        onControl = onControl || PtInRect(&rect, point);
                    if (onControl)
                        continue;
                    ++compared;
                    same += channelDistance(seen.at(x, y), skin.at(x, y)) <= 2 ? 1 : 0;
                }
            share = compared == 0 ? 0 : static_cast<double>(same) / static_cast<double>(compared);
            return share >= 0.99;
        },
        3000);
    if (!check(share >= 0.99, "the skin fills the window around the controls (" +
                                  std::to_string(static_cast<int>(share * 100)) + "% of pixels match)"))
        keepImage(seen, "window");

    struct ButtonLook {
        HWND control;
        int bitmap;
        const char *name;
    };
    const ButtonLook buttons[] = {{game.minimise, IDB_MINIMIZE, "minimise"}, {game.close, IDB_CLOSE, "close"},
                                  {game.newGame, IDB_NEWGAME, "New Game"},   {game.help, IDB_HELP, "help"},
                                  {game.loadBmp, IDB_LOADBMP, "Load .Bmp"},  {game.cancel, IDB_CANCEL, "Cancel"}};
    for (const ButtonLook &button : buttons) {
        Image bitmap;
        if (!check(loadResourceBitmap(game.program.exe, button.bitmap, bitmap),
                   std::string("the game holds the bitmap of ") + button.name))
            continue;
        const Image shown = view(button.control);
        // Fitted to the control: the same pixels when the sizes agree, close when the
        // bitmap is a pixel wider or narrower than its button.
        const bool sameSize = shown.width == bitmap.width && shown.height == bitmap.height;
        const double buttonShare =
            matchShare(shown, resizeNearest(bitmap, shown.width, shown.height), sameSize ? 2 : 96);
        if (!check(buttonShare >= (sameSize ? 0.99 : 0.75),
                   std::string("the ") + button.name + " button shows its bitmap (" +
                       std::to_string(static_cast<int>(buttonShare * 100)) + "% of pixels match)"))
            keepImage(shown, std::string("button-") + button.name);
    }

    const uint32_t lightGrey = 0xC0C0C0;
    HWND fields[] = {game.clock, game.moves, game.result};
    const char *names[] = {"time", "moves", "result"};
    for (int i = 0; i < 3; ++i) {
        const Image shown = view(fields[i]);
        size_t grey = 0;
        size_t black = 0;
        for (uint32_t pixel : shown.pixels) {
            grey += pixel == lightGrey ? 1 : 0;
            black += pixel == 0 ? 1 : 0;
        }
        check(grey * 2 >= shown.pixels.size(), std::string("the ") + names[i] + " field is light grey");
        if (i < 2)
            check(black >= 5, std::string("the ") + names[i] + " field's text is black");
        else
            check(black == 0, "the empty result field shows no text");
    }
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "game start-up");
    std::string reference;
    if (!readFile(requiredOption("reference"), reference))
        fatal("cannot read the built-in default picture " + requiredOption("reference"));
    Image referencePicture;
    if (!loadBmp(requiredOption("reference"), referencePicture))
        fatal("the built-in default picture is no BMP file this test can read");

    // First start from the program's own folder.
    {
        Game game;
        launch(game, "first");
        checkWindowAndControls(game);
        checkLooks(game);

        group("default picture written beside the program");
        const std::string written = joinPath(game.program.folder, "BmpImages\\fernwick.bmp");
        std::string contents;
        check(readFile(written, contents), "BmpImages\\fernwick.bmp exists beside the program");
        checkEqual(static_cast<long long>(contents.size()), 110646, "size of the default picture");
        check(contents == reference, "the default picture is byte for byte the built-in one");
        checkTilesShow(game, referencePicture, "the default picture");
        checkPreviewShows(game, referencePicture, "the default picture");
        closeAndCheckExit(game);
    }

    // A picture the user put in the default picture's place stays, and is shown.
    {
        group("an existing default picture is kept and shown");
        const std::string folder = freshFolder("kept");
        makeFolders(joinPath(folder, "BmpImages"));
        const Image own = blockPicture(192, 192, 16, 5);
        const std::string ownPath = joinPath(folder, "BmpImages\\fernwick.bmp");
        if (!saveBmp(ownPath, own))
            fatal("could not write " + ownPath);
        std::string before;
        readFile(ownPath, before);
        Game game;
        launch(game, "kept", StartOptions(), true);
        std::string after;
        readFile(ownPath, after);
        check(after == before, "the existing BmpImages\\fernwick.bmp is left as it was");
        checkTilesShow(game, own, "the picture already in BmpImages");
        closeAndCheckExit(game);
    }

    // The folder exists, the file does not: the file is written.
    {
        group("an empty BmpImages folder gets the default picture");
        const std::string folder = freshFolder("emptyfolder");
        makeFolders(joinPath(folder, "BmpImages"));
        Game game;
        launch(game, "emptyfolder", StartOptions(), true);
        std::string contents;
        readFile(joinPath(folder, "BmpImages\\fernwick.bmp"), contents);
        check(contents == reference, "BmpImages\\fernwick.bmp is written into the existing folder");
        closeAndCheckExit(game);
    }

    // Started with another current folder, as from a shortcut that starts elsewhere.
    {
        group("start from another current folder");
        const std::string elsewhere = freshFolder("elsewhere");
        StartOptions options;
        options.currentDir = elsewhere;
        Game game;
        launch(game, "program", options);
        std::string contents;
        readFile(joinPath(game.program.folder, "BmpImages\\fernwick.bmp"), contents);
        check(contents == reference, "the default picture is written beside the program");
        check(!folderExists(joinPath(elsewhere, "BmpImages")), "no BmpImages folder is left in the current folder");
        checkTilesShow(game, referencePicture, "the default picture");
        checkPreviewShows(game, referencePicture, "the default picture");
        closeAndCheckExit(game);
    }

    // The show command the game is started with reaches its window.
    {
        group("a start with a minimised show command");
        StartOptions options;
        options.showCommand = SW_SHOWMINNOACTIVE;
        Game game;
        launch(game, "minimised", options);
        check(waitFor([&]() { return IsIconic(game.window) != 0; }, 3000), "the window comes up minimised");
        checkEqual(static_cast<long long>(children(game.window).size()), 25, "all controls are created");
        checkText(clockField(game), "0:00", "time field");
        closeAndCheckExit(game);
    }

    return finish();
}
