// The borderless window as a window: dragged by its painted title bar (real mouse input),
// minimised, and closed during a game.
#include "game_support.h"

using namespace e2e;
using namespace game;

namespace {

bool sameRect(const RECT &a, const RECT &b) { return EqualRect(&a, &b) != 0; }

// Presses the left button at a client point, drags by (40, 30) and lets go.
RECT dragFrom(const Game &game, int x, int y)
{
    const RECT before = screenRect(game.window);
    realDrag(before.left + x, before.top + y, 40, 30);
    RECT after = screenRect(game.window);
    waitFor(
        [&]() {
            after = screenRect(game.window);
            return !sameRect(after, before);
        },
        1000);
    return after;
}

void checkDragging(Game &game)
{
    group("dragging by the title bar");
    RECT before = screenRect(game.window);
    RECT after = dragFrom(game, 579, 24);
    check(after.left == before.left + 40 && after.top == before.top + 30 && after.right - after.left == 644 &&
              after.bottom - after.top == 374,
          "a press at (579, 24) drags the window by (40, 30): from " + describe(before) + " to " + describe(after));

    before = screenRect(game.window);
    after = dragFrom(game, 580, 24);
    check(sameRect(after, before), "a press at (580, 24) does not move the window: " + describe(after));
    before = screenRect(game.window);
    after = dragFrom(game, 100, 25);
    check(sameRect(after, before), "a press at (100, 25) does not move the window: " + describe(after));
    expectSounds(game, {}, "dragging");
    checkText(movesField(game), "0", "nothing else happened");
}

// A bitmap button held down shows its pressed bitmap, and its normal one again when let
// go; a tile held down looks the same.
void checkPressedLooks(Game &game)
{
    group("pressed looks");
    Image rest = view(game.cancel);
    Image pressedBitmap;
    Image restBitmap;
    if (!check(loadResourceBitmap(game.program.exe, IDB_CANCEL_DOWN, pressedBitmap) &&
                   loadResourceBitmap(game.program.exe, IDB_CANCEL, restBitmap),
               "the game holds both looks of Cancel"))
        return;
    const Image expectedPressed = resizeNearest(pressedBitmap, rest.width, rest.height);
    const Image expectedRest = resizeNearest(restBitmap, rest.width, rest.height);
    check(meanDistance(rest, expectedRest) < meanDistance(rest, expectedPressed),
          "Cancel at rest looks like its normal bitmap, not the pressed one");
    postMouse(game.cancel, WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    Image held;
    const bool pressed = waitFor(
        [&]() {
            held = view(game.cancel);
            return meanDistance(held, expectedPressed) < meanDistance(held, expectedRest) &&
                   matchShare(held, rest, 2) < 0.9;
        },
        3000);
    if (!check(pressed, "Cancel held down shows its pressed bitmap"))
        keepImage(held, "cancel-held");
    postMouse(game.cancel, WM_LBUTTONUP, 10, 10, 0);
    Image released;
    if (!check(waitFor(
                   [&]() {
                       released = view(game.cancel);
                       return matchShare(released, rest, 2) >= 0.99;
                   },
                   3000),
               "Cancel let go shows its normal bitmap again"))
        keepImage(released, "cancel-released");
    expectSounds(game, {IDW_REFUSED}, "Cancel without a game, pressed and let go");

    const Image tileRest = view(game.tile[1]);
    postMouse(game.tile[1], WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    check(holds([&]() { return matchShare(view(game.tile[1]), tileRest, 2) >= 0.99; }, 400),
          "a tile held down looks the same");
    postMouse(game.tile[1], WM_LBUTTONUP, 10, 10, 0);
    expectSounds(game, {}, "a tile pressed before a game");
}

// The second click of a double click reaches the game as a command of its own.
void checkDoubleClick(Game &game)
{
    group("a double click on a tile is two clicks");
    click(game.newGame);
    expectSounds(game, {IDW_NEWGAME}, "New Game");
    int before[TILES + 1];
    readSlots(game, before);
    int mover = 0;
    for (int tile = 1; tile <= TILES; ++tile)
        if (before[tile] == 15)
            mover = tile;
    postMouse(game.tile[mover], WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    postMouse(game.tile[mover], WM_LBUTTONUP, 20, 20, 0);
    postMouse(game.tile[mover], WM_LBUTTONDBLCLK, 20, 20, MK_LBUTTON);
    postMouse(game.tile[mover], WM_LBUTTONUP, 20, 20, 0);
    check(waitFor([&]() { return movesField(game) == "2"; }, 3000), "two moves counted: " + movesField(game));
    int after[TILES + 1];
    readSlots(game, after);
    checkEqual(after[mover], 15, "the tile stepped into slot 16 and back");
    expectSounds(game, {IDW_MOVE, IDW_MOVE}, "a double click");
    click(game.cancel);
    expectSounds(game, {IDW_NEWGAME}, "Cancel");
}

void checkMinimise(Game &game)
{
    group("minimise");
    click(game.newGame);
    expectSounds(game, {IDW_NEWGAME}, "New Game");
    click(game.minimise);
    expectSounds(game, {IDW_BLIP}, "the minimise button");
    check(waitFor([&]() { return IsIconic(game.window) != 0; }, 3000), "the window is minimised");
    const std::string minimised = clockField(game);
    check(waitFor([&]() { return clockSeconds(clockField(game)) > clockSeconds(minimised); }, 3000),
          "the clock keeps running while the window is minimised (" + minimised + " then " + clockField(game) + ")");
    ShowWindow(game.window, SW_RESTORE);
    check(waitFor([&]() { return IsIconic(game.window) == 0 && IsWindowVisible(game.window); }, 3000),
          "the window comes back");
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "window");
    Game game;
    launch(game, "window");
    checkDragging(game);
    checkPressedLooks(game);
    checkDoubleClick(game);
    checkMinimise(game);

    group("close during a game");
    checkText(resultField(game), " ", "a game is running");
    closeAndCheckExit(game);
    return finish();
}
