// A picture made with Pixelhem and played in Snowquill: the resizer saves a 640 x 480
// picture of sixteen blocks as Snowquill_Image01.bmp, the game loads that file through
// its own open-file dialog, and each of its fifteen tiles shows its piece of it.
#include "resizer_steps.h"

using namespace resizer;

namespace {

const int LOAD_BMP = 3500;  // the game's Load .Bmp button
const int FIRST_TILE = 500; // tile n has the id 100 x (n + 4)
const int TILE_ID_STEP = 100;

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "resizer to game round trip");
    const std::string pictures = e2e::freshFolder("roundtrip_pictures");
    const std::string picturePath = e2e::joinPath(pictures, "sixteen.bmp");
    if (!e2e::saveBmp(picturePath, blockPicture(640, 480, 4, 4)))
        e2e::fatal("could not write the test picture");

    e2e::group("the resizer saves the picture");
    const std::string resizerFolder = e2e::freshFolder("roundtrip_resizer");
    e2e::Program resizer;
    if (!startResizer(resizer, resizerFolder) || !choosePicture(resizer, picturePath))
        return e2e::finish();
    e2e::click(control(resizer, SAVE_BMP), 10000);
    const std::string savedPath = e2e::joinPath(resizerFolder, "Snowquill_Image01.bmp");
    e2e::Image saved;
    if (!e2e::check(e2e::loadBmp(savedPath, saved) && saved.width == 192 && saved.height == 192,
                    "Snowquill_Image01.bmp is a 192 x 192 picture"))
        return e2e::finish();
    e2e::click(control(resizer, CLOSE));
    e2e::checkEqual(e2e::waitForExit(resizer, 10000), 0, "the resizer ends with exit code 0");

    e2e::group("the game loads it and its tiles show its pieces");
    e2e::Program game;
    if (!e2e::start(game, e2e::requiredOption("snowquill"), e2e::freshFolder("roundtrip_game")) ||
        !e2e::check(e2e::waitForWindow(game, "Snowquill") != NULL, "the Snowquill window appears"))
        return e2e::finish();
    HWND load = e2e::child(game.window, LOAD_BMP);
    if (!e2e::check(load != NULL, "the game's Load .Bmp button exists"))
        return e2e::finish();
    e2e::clickPosted(load);
    HWND dialog = e2e::waitForDialog(game.process.dwProcessId);
    if (!e2e::check(dialog != NULL, "the game's open-file dialog appears") ||
        !e2e::check(e2e::chooseFile(dialog, savedPath), "the game's dialog takes the saved file"))
        return e2e::finish();
    settle(game);

    for (int tile = 1; tile <= 15; ++tile) {
        const int col = (tile - 1) % 4;
        const int row = (tile - 1) / 4;
        e2e::context("tile " + std::to_string(tile));
        HWND button = e2e::child(game.window, FIRST_TILE + (tile - 1) * TILE_ID_STEP);
        if (!e2e::check(button != NULL, "the tile exists"))
            continue;
        const e2e::Image piece = e2e::crop(saved, col * 48, row * 48, 48, 48);
        bool same = false;
        e2e::waitFor(
            [&]() {
                same = e2e::matchShare(e2e::captureWindow(button), piece, 2) > 0.99;
                return same;
            },
            3000);
        e2e::check(same, "shows its 48 x 48 piece of the saved picture");
        e2e::check(e2e::channelDistance(e2e::captureWindow(button).at(24, 24), blockColour(col, row)) <= 4,
                   "whose centre is the colour of block (" + std::to_string(col) + ", " + std::to_string(row) + ")");
    }
    e2e::context("");
    e2e::click(e2e::child(game.window, 300));
    e2e::checkEqual(e2e::waitForExit(game, 10000), 0, "the game ends with exit code 0");
    return e2e::finish();
}
