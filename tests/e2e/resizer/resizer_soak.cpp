// Pixelhem draws its preview from the picture file at every paint and keeps nothing: after
// more paints than a process has room for graphics objects (about 65,000), a leak of even
// one object a paint would have stopped the drawing. The preview and a save must still work.
#include "resizer_steps.h"

#include <cstdio>

using namespace resizer;

namespace {

const int PAINTS = 70000;

// Repaints the preview count times, each paint finished before the next is asked for.
bool repaint(e2e::Program &program, int count)
{
    HWND preview = control(program, PREVIEW);
    for (int i = 0; i < count; ++i) {
        if (!RedrawWindow(preview, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW))
            return false;
        if (i % 5000 == 0 && !settle(program))
            return false;
    }
    return settle(program);
}

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "resizer soak");
    const std::string pictures = e2e::freshFolder("soak_pictures");
    const std::string good = e2e::joinPath(pictures, "small.bmp");
    const std::string broken = e2e::joinPath(pictures, "broken.bmp");
    const e2e::Image picture = blockPicture(64, 48, 4, 3);
    if (!e2e::saveBmp(good, picture) || !e2e::writeFile(broken, "BM but nothing else"))
        e2e::fatal("could not write the test pictures");
    const std::string folder = e2e::freshFolder("soak");
    e2e::Program program;
    if (!startResizer(program, folder))
        return e2e::finish();

    e2e::group("many paints of an unusable picture");
    if (choosePicture(program, broken)) {
        const DWORD begun = e2e::now();
        e2e::check(repaint(program, PAINTS / 10), "the program answers through the paints");
        std::printf("%d paints of an unusable picture in %lu ms\n", PAINTS / 10,
                    static_cast<unsigned long>(e2e::now() - begun));
    }

    e2e::group("many paints of a picture");
    if (choosePicture(program, good)) {
        const DWORD begun = e2e::now();
        e2e::check(repaint(program, PAINTS), "the program answers through the paints");
        std::printf("%d paints in %lu ms\n", PAINTS, static_cast<unsigned long>(e2e::now() - begun));
        const e2e::Image expected = averageStretch(picture, 192, 192);
        e2e::check(e2e::matchShare(e2e::captureWindow(control(program, PREVIEW)), expected, 40) > 0.9,
                   "the preview still shows the picture");
        e2e::check(e2e::click(control(program, SAVE_BMP), 10000), "Save .Bmp answers");
        e2e::Image saved;
        e2e::check(e2e::loadBmp(e2e::joinPath(folder, "Snowquill_Image01.bmp"), saved) &&
                       e2e::matchShare(saved, expected, 40) > 0.9,
                   "a save still holds the picture");
    }
    e2e::click(control(program, CLOSE));
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "exit code");
    return e2e::finish();
}
