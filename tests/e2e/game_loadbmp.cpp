// Load .Bmp: the open-file dialog, pictures of other sizes cut into the tiles' pieces,
// the move sound of "silverbells.bmp", a cancelled dialog, and pictures that can't be
// shown.
#include "game_support.h"

#include <algorithm>
#include <cstdio>

using namespace e2e;
using namespace game;

namespace {

// A picture whose every pixel differs from its neighbours: red is the column, green the
// row, so that an offset of one pixel shows.
Image gradientPicture(int width, int height)
{
    Image picture = makeImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.set(x, y,
                        (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) |
                            static_cast<uint32_t>((x * 7 + y * 3) & 0xFF));
    return picture;
}

void load(Game &game, const std::string &path, const std::string &what)
{
    newSounds(game.program);
    clickPosted(game.loadBmp);
    HWND dialog = waitForDialog(game.program.process.dwProcessId);
    if (!check(dialog != NULL, what + ": the open-file dialog opens"))
        return;
    expectSounds(game, {IDW_CLICK}, what + ": the click sound, before the dialog");
    check(chooseFile(dialog, path), what + ": the dialog takes the typed path and closes");
}

// Every tile shows its piece of the picture: exactly for a picture cut without scaling,
// mostly for a scaled one (the platform's plain stretch mixes pixels at the edges).
void checkPieces(Game &game, const Image &picture, double needed, int tolerance, const std::string &which)
{
    for (int tile = 1; tile <= TILES; ++tile) {
        const Image expected = expectedPiece(picture, tile);
        Image seen;
        double share = 0;
        waitFor(
            [&]() {
                seen = view(game.tile[tile]);
                share = matchShare(seen, expected, tolerance);
                return share >= needed;
            },
            3000);
        const POINT corner = pieceCorner(picture.width, picture.height, tile);
        if (!check(share >= needed, std::string("tile ") + tileLetter(tile) + " shows the piece at (" +
                                        std::to_string(corner.x) + ", " + std::to_string(corner.y) + "), " +
                                        std::to_string(picture.width / 4) + " x " + std::to_string(picture.height / 4) +
                                        " of " + which + ": " + std::to_string(static_cast<int>(share * 100)) +
                                        "% of pixels match"))
            keepImage(seen, std::string("tile-") + tileLetter(tile) + "-" + which);
    }
}

// New Game, one step into the empty slot 16, then Cancel: returns the move's sound.
std::vector<Sound> oneMove(Game &game, const std::string &what)
{
    click(game.newGame);
    expectSounds(game, {IDW_NEWGAME}, what + ": New Game");
    int slots[TILES + 1];
    readSlots(game, slots);
    int mover = 0;
    for (int tile = 1; tile <= TILES; ++tile)
        if (slots[tile] == 15)
            mover = tile;
    click(game.tile[mover]);
    std::vector<Sound> sounds = newSounds(game.program);
    checkText(movesField(game), "1", what + ": the move counts");
    click(game.cancel);
    expectSounds(game, {IDW_NEWGAME}, what + ": Cancel");
    return sounds;
}

bool lightPixel(uint32_t colour)
{
    return ((colour >> 16) & 0xFF) >= 170 && ((colour >> 8) & 0xFF) >= 170 && (colour & 0xFF) >= 170;
}

bool darkPixel(uint32_t colour)
{
    return ((colour >> 16) & 0xFF) < 128 && ((colour >> 8) & 0xFF) < 128 && (colour & 0xFF) < 128;
}

// Light tiles with a dark letter near the middle, each tile's letter its own; the
// preview an empty light square.
void checkLetteredTiles(Game &game)
{
    std::vector<Image> seen(TILES + 1);
    for (int tile = 1; tile <= TILES; ++tile) {
        const std::string name = std::string("tile ") + tileLetter(tile);
        int light = 0;
        int dark = 0;
        long sumX = 0;
        long sumY = 0;
        waitFor(
            [&]() {
                seen[tile] = view(game.tile[tile]);
                light = dark = 0;
                sumX = sumY = 0;
                for (int y = 0; y < seen[tile].height; ++y)
                    for (int x = 0; x < seen[tile].width; ++x) {
                        const uint32_t colour = seen[tile].at(x, y);
                        if (lightPixel(colour))
                            ++light;
                        if (darkPixel(colour)) {
                            ++dark;
                            sumX += x;
                            sumY += y;
                        }
                    }
                // Wait for a centred letter too: just after the dialog closes, the capture
                // can still hold bits of the dialog where the tile is not yet repainted.
                const bool centred =
                    dark > 0 && sumX / dark >= 16 && sumX / dark <= 32 && sumY / dark >= 16 && sumY / dark <= 32;
                return light >= 48 * 48 / 2 && dark >= 20 && centred;
            },
            3000);
        bool ok = check(light >= 48 * 48 / 2, name + " is a light tile (" + std::to_string(light) + " light pixels)");
        ok = check(dark >= 20, name + " shows a dark letter (" + std::to_string(dark) + " dark pixels)") && ok;
        if (dark > 0) {
            const long centreX = sumX / dark;
            const long centreY = sumY / dark;
            ok = check(centreX >= 16 && centreX <= 32 && centreY >= 16 && centreY <= 32,
                       name + "'s letter is centred (its middle at " + std::to_string(centreX) + ", " +
                           std::to_string(centreY) + ")") &&
                 ok;
        }
        if (!ok)
            keepImage(seen[tile], "lettered-" + std::string(1, tileLetter(tile)));
    }
    for (int tile = 2; tile <= TILES; ++tile)
        check(matchShare(seen[tile], seen[tile - 1], 0) < 0.995,
              std::string("tiles ") + tileLetter(tile - 1) + " and " + tileLetter(tile) + " show different letters");
    const Image preview = view(game.preview);
    size_t light = 0;
    size_t dark = 0;
    for (uint32_t colour : preview.pixels) {
        light += lightPixel(colour) ? 1 : 0;
        dark += darkPixel(colour) ? 1 : 0;
    }
    if (!check(light >= preview.pixels.size() * 9 / 10 && dark == 0,
               "the preview is an empty light square (" + std::to_string(light) + " light, " + std::to_string(dark) +
                   " dark of " + std::to_string(preview.pixels.size()) + " pixels)"))
        keepImage(preview, "lettered-preview");
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "Load .Bmp");
    const std::string pictures = freshFolder("pictures");
    const Image wide = blockPicture(400, 300, 25, 1);
    const Image narrow = gradientPicture(194, 192);
    const Image bells = blockPicture(192, 192, 12, 2);
    const Image otherBells = blockPicture(192, 192, 16, 3);
    makeFolders(joinPath(pictures, "bells1"));
    makeFolders(joinPath(pictures, "bells2")); // Wine finds names in any case: two folders
    const std::string widePath = joinPath(pictures, "wide.bmp");
    const std::string narrowPath = joinPath(pictures, "narrow.bmp");
    const std::string bellsPath = joinPath(pictures, "bells1\\silverbells.bmp");
    const std::string otherBellsPath = joinPath(pictures, "bells2\\SilverBells.bmp");
    const std::string damagedPath = joinPath(pictures, "damaged.bmp");
    const std::string truncatedPath = joinPath(pictures, "truncated.bmp");
    if (!saveBmp(widePath, wide) || !saveBmp(narrowPath, narrow) || !saveBmp(bellsPath, bells) ||
        !saveBmp(otherBellsPath, otherBells) || !writeFile(damagedPath, std::string(600, 'x')))
        fatal("could not write the test pictures into " + pictures);
    // A picture cut short after its headers: it claims 192 x 192 pixels it does not have.
    std::string whole;
    readFile(bellsPath, whole);
    writeFile(truncatedPath, whole.substr(0, 54));

    Game game;
    launch(game, "game");

    group("a 400 x 300 picture");
    load(game, widePath, "400 x 300");
    checkPieces(game, wide, 0.7, 8, "wide");
    checkText(resultField(game), "", "result field untouched");

    group("a 194-pixel-wide picture");
    load(game, narrowPath, "194 x 192");
    checkPieces(game, narrow, 0.99, 0, "narrow");

    group("silverbells.bmp switches the move sound");
    load(game, bellsPath, "silverbells.bmp");
    checkPieces(game, bells, 0.99, 2, "silverbells");
    check(soundIds(oneMove(game, "silverbells.bmp")) == std::to_string(IDW_BELLS),
          "a move plays the bells sound with silverbells.bmp loaded");

    group("a cancelled dialog changes nothing");
    clickPosted(game.loadBmp);
    HWND dialog = waitForDialog(game.program.process.dwProcessId);
    if (check(dialog != NULL, "the open-file dialog opens")) {
        expectSounds(game, {IDW_CLICK}, "the click sound");
        check(cancelDialog(dialog), "the dialog closes on Cancel");
        expectSounds(game, {}, "after the cancelled dialog");
        checkText(resultField(game), "Canceled", "result field keeps the last game's end");
        checkPieces(game, bells, 0.99, 2, "silverbells");
        check(soundIds(oneMove(game, "after the cancelled dialog")) == std::to_string(IDW_BELLS),
              "a move still plays the bells sound");
    }

    group("SilverBells.bmp does not switch the move sound");
    load(game, otherBellsPath, "SilverBells.bmp");
    checkPieces(game, otherBells, 0.99, 2, "SilverBells");
    check(soundIds(oneMove(game, "SilverBells.bmp")) == std::to_string(IDW_MOVE),
          "a move plays the usual move sound with SilverBells.bmp loaded");

    group("a damaged picture leaves a playable board of lettered tiles");
    load(game, damagedPath, "damaged.bmp");
    checkLetteredTiles(game);
    check(soundIds(oneMove(game, "damaged picture")) == std::to_string(IDW_MOVE), "the game stays playable");
    checkLetteredTiles(game);

    group("a picture cut short does not bring the game down");
    load(game, truncatedPath, "truncated.bmp");
    check(waitFor([&]() { return isRunning(game.program); }, 500) && movesField(game) == "1",
          "the game is still running and answering");
    check(soundIds(oneMove(game, "picture cut short")) == std::to_string(IDW_MOVE), "the game stays playable");

    group("back to a good picture");
    load(game, narrowPath, "194 x 192 again");
    checkPieces(game, narrow, 0.99, 0, "narrow");

    closeAndCheckExit(game);
    return finish();
}
