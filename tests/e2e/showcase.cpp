// For scripts/run.sh without a display: New Game and a few moves, then a picture of the
// game's window in --out.
#include "driver.h"

using namespace e2e;

namespace {

// A 24-bit BMP file of the image: bmpFile's header, the rows from the bottom.
std::string bmpOf(const Image &image)
{
    std::string file = bmpFile(image.width, image.height, 24);
    const int row = (image.width * 3 + 3) / 4 * 4;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            file.replace(54 + (image.height - 1 - y) * row + x * 3, 3,
                         reinterpret_cast<const char *>(&image.pixels[y * image.width + x]), 3);
    return file;
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "showcase");
    Program game;
    if (!check(start(game, requiredOption("game"), freshFolder("game")) && waitForWindow(game, "Snowquill") != NULL,
               "a game window"))
        return finish();
    click(GetDlgItem(game.window, 2000));
    // Every tile clicked in turn, six times over: those that can move do.
    for (int i = 0; i < 6; ++i)
        for (int n = 1; n <= 15; ++n)
            click(GetDlgItem(game.window, 100 * (n + 4)));
    check(writeFile(requiredOption("out"), bmpOf(captureWindow(game.window))), "picture saved");
    return finish();
}
