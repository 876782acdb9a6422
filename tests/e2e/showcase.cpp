// For scripts/run.sh without a display: New Game and a few moves, then a picture of the
// game's window in --out.
#include "driver.h"

using namespace e2e;

namespace {

// A binary PPM file of the image: its size, then red, green and blue of each pixel from the top.
string ppmOf(const Image &image)
{
    string file = "P6 " + to_string(image.width) + " " + to_string(image.height) + " 255\n";
    for (uint32_t pixel : image.pixels) {
        file += static_cast<char>(pixel >> 16);
        file += static_cast<char>(pixel >> 8);
        file += static_cast<char>(pixel);
    }
    return file;
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "showcase");
    Program game;
    start(game, requiredOption("game"), freshFolder("game"));
    check(waitForWindow(game, "Snowquill"), "a game window");
    click(GetDlgItem(game.window, 2000));
    // Every tile clicked in turn, six times over: those that can move do.
    for (int n = 0; n < 90; ++n)
        click(GetDlgItem(game.window, 100 * (n % 15 + 5)));
    settle(game.window); // the last move painted
    check(writeFile(requiredOption("out"), ppmOf(captureWindow(game.window))), "picture saved");
    return finish();
}
