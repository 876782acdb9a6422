// For scripts/run.sh without a display: New Game and a few moves, then a picture of the
// game's window in --out.
#include "driver.h"

using namespace e2e;

int main(int argc, char **argv)
{
    init(argc, argv, "showcase");
    Program game;
    StartOptions options;
    options.recordSounds = false;
    if (!start(game, requiredOption("game"), freshFolder("game"), options) || !waitForWindow(game, "Snowquill"))
        fatal("no game window");
    click(child(game.window, 2000));
    // Every tile clicked in turn, six times over: those that can move do.
    for (int i = 0; i < 6; ++i)
        for (int n = 1; n <= 15; ++n)
            click(child(game.window, 100 * (n + 4)));
    check(saveBmp(requiredOption("out"), captureWindow(game.window)), "picture saved");
    return finish();
}
