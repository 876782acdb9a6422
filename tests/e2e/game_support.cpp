#include "game_support.h"

#include <cstdio>

using namespace e2e;

namespace game {

POINT slotCorner(int slot)
{
    POINT corner;
    corner.x = 50 + 50 * ((slot - 1) % 4);
    corner.y = 75 + 50 * ((slot - 1) / 4);
    return corner;
}

void launch(Game &game, const std::string &folderName, const StartOptions &options, bool keepFolder)
{
    game = Game();
    const std::string folder =
        keepFolder ? joinPath(windowsPath(requiredOption("work")), folderName) : freshFolder(folderName);
    if (!start(game.program, requiredOption("game"), folder, options))
        fatal("the game did not start");
    game.window = waitForWindow(game.program, "Snowquill");
    if (game.window == NULL) {
        const long code = waitForExit(game.program, 0);
        fatal("no visible window of class \"Snowquill\" appeared" +
              (code >= 0 ? " (the program exited with code " + std::to_string(code) + ")" : std::string()));
    }
    for (int tile = 1; tile <= TILES; ++tile)
        game.tile[tile] = child(game.window, tileId(tile));
    game.newGame = child(game.window, ID_START);
    game.loadBmp = child(game.window, ID_PICTURES);
    game.cancel = child(game.window, ID_CANCEL);
    game.preview = child(game.window, ID_DISPLAY);
    game.minimise = child(game.window, ID_MINIMIZE);
    game.help = child(game.window, ID_QUESTION);
    game.close = child(game.window, ID_CLOSEOUT);
    game.clock = child(game.window, ID_OURCLOCK);
    game.moves = child(game.window, ID_MOVECOUNT);
    game.result = child(game.window, ID_RESULT);
    HWND all[] = {game.newGame, game.loadBmp, game.cancel, game.preview, game.minimise,
                  game.help,    game.close,   game.clock,  game.moves,   game.result};
    for (HWND control : all)
        if (control == NULL)
            fatal("a control of the game window is missing");
    for (int tile = 1; tile <= TILES; ++tile)
        if (game.tile[tile] == NULL)
            fatal(std::string("tile ") + tileLetter(tile) + " is missing");
}

void closeAndCheckExit(Game &game)
{
    if (!isRunning(game.program)) {
        check(false, "the game was still running before it was closed");
        return;
    }
    click(game.close);
    const long code = waitForExit(game.program, 10000);
    if (code < 0) {
        check(false, "the game did not exit within 10 s of its close button");
        terminate(game.program);
        return;
    }
    checkEqual(code, 0, "exit code after the close button");
    expectSounds(game, {}, "sounds at close");
}

void readSlots(const Game &game, int slots[TILES + 1])
{
    slots[0] = 0;
    for (int tile = 1; tile <= TILES; ++tile) {
        const RECT rect = rectInClient(game.tile[tile], game.window);
        slots[tile] = 0;
        for (int slot = 1; slot <= SLOTS; ++slot) {
            const POINT corner = slotCorner(slot);
            if (rect.left == corner.x && rect.top == corner.y && rect.right - rect.left == 48 &&
                rect.bottom - rect.top == 48)
                slots[tile] = slot;
        }
    }
}

int emptySlot(const int slots[TILES + 1])
{
    bool taken[SLOTS + 1] = {};
    for (int tile = 1; tile <= TILES; ++tile) {
        if (slots[tile] < 1 || slots[tile] > SLOTS || taken[slots[tile]])
            return 0;
        taken[slots[tile]] = true;
    }
    for (int slot = 1; slot <= SLOTS; ++slot)
        if (!taken[slot])
            return slot;
    return 0;
}

std::string describeSlots(const int slots[TILES + 1])
{
    std::string text;
    for (int tile = 1; tile <= TILES; ++tile) {
        text += tileLetter(tile);
        text += std::to_string(slots[tile]);
        if (tile < TILES)
            text += ' ';
    }
    return text;
}

std::string clockText(int seconds)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

int clockSeconds(const std::string &text)
{
    const std::string::size_type colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || text.size() != colon + 3)
        return -1;
    int minutes = 0;
    for (std::string::size_type i = 0; i < colon; ++i) {
        if (text[i] < '0' || text[i] > '9' || (i == 0 && text[i] == '0' && colon > 1))
            return -1;
        minutes = minutes * 10 + (text[i] - '0');
    }
    const char tens = text[colon + 1];
    const char ones = text[colon + 2];
    if (tens < '0' || tens > '5' || ones < '0' || ones > '9')
        return -1;
    return minutes * 60 + (tens - '0') * 10 + (ones - '0');
}

bool expectSounds(Game &game, const std::vector<int> &ids, const std::string &what)
{
    const std::vector<Sound> sounds = newSounds(game.program);
    std::string expected;
    for (int id : ids)
        expected += (expected.empty() ? "" : " ") + std::to_string(id);
    if (expected.empty())
        expected = "(none)";
    bool ok = sounds.size() == ids.size();
    for (size_t i = 0; ok && i < ids.size(); ++i)
        ok = sounds[i].id == ids[i];
    if (!check(ok, what + ": sounds " + soundIds(sounds) + ", expected " + expected))
        return false;
    for (const Sound &sound : sounds)
        if (!check(sound.function == "PlaySoundA" && sound.flags == SOUND_FLAGS && sound.module == "own",
                   what + ": each sound from the game's resources, played asynchronously; got \"" + sound.line + "\""))
            return false;
    return true;
}

std::string clockField(const Game &game) { return text(game.clock); }

std::string movesField(const Game &game) { return text(game.moves); }

std::string resultField(const Game &game) { return text(game.result); }

Image view(HWND control) { return captureWindow(control); }

POINT pieceCorner(int width, int height, int tile)
{
    const int column = (tile - 1) % 4;
    const int row = (tile - 1) / 4;
    const int xs[4] = {0, width / 4, width / 2, width - width / 4};
    const int ys[4] = {0, height / 4, height / 2, height - height / 4};
    POINT corner;
    corner.x = xs[column];
    corner.y = ys[row];
    return corner;
}

Image expectedPiece(const Image &picture, int tile)
{
    const POINT corner = pieceCorner(picture.width, picture.height, tile);
    return resizeNearest(crop(picture, corner.x, corner.y, picture.width / 4, picture.height / 4), 48, 48);
}

Image blockPicture(int width, int height, int blockSize, int seed)
{
    Image picture = makeImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned bx = static_cast<unsigned>(x / blockSize);
            const unsigned by = static_cast<unsigned>(y / blockSize);
            const unsigned red = (bx * 37u + static_cast<unsigned>(seed) * 11u) % 200u + 30u;
            const unsigned green = (by * 53u + static_cast<unsigned>(seed) * 7u) % 200u + 30u;
            const unsigned blue = ((bx + by) * 29u + bx * by * 3u) % 200u + 30u;
            picture.set(x, y, (red << 16) | (green << 8) | blue);
        }
    return picture;
}

} // namespace game
