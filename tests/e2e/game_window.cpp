// The borderless window as a window: dragged by its painted title bar (real mouse input),
// minimised, and closed during a game.
#include "game_support.h"

using namespace e2e;
using namespace game;

namespace {

bool sameRect(const RECT &a, const RECT &b)
{
    return EqualRect(&a, &b) != 0;
}

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
    checkMinimise(game);

    group("close during a game");
    checkText(resultField(game), " ", "a game is running");
    closeAndCheckExit(game);
    return finish();
}
