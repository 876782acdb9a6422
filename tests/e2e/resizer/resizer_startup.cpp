// Pixelhem's start: its window and five controls, the sample picture it installs beside
// itself (and leaves alone when one is there), and the sample in the preview even when
// it is started from another folder.
#include "resizer_steps.h"

using namespace resizer;

namespace {

struct ControlPlace {
    int id;
    int x, y, width, height;
};

const ControlPlace places[] = {
    {PREVIEW, 53, 78, 192, 192}, {SAVE_BMP, 415, 257, 94, 28}, {GET_PREVIEW, 315, 257, 95, 28},
    {MINIMISE, 500, 4, 18, 19},  {CLOSE, 520, 4, 19, 19},
};

// What the preview shows, against a picture stretched to 192 x 192.
double previewMatch(const e2e::Program &program, const e2e::Image &picture)
{
    const e2e::Image shown = e2e::captureWindow(control(program, PREVIEW));
    return e2e::matchShare(shown, averageStretch(picture, 192, 192), 12);
}

// Whether the preview comes to show the picture (it is painted soon after the window
// appears).
bool previewShows(const e2e::Program &program, const e2e::Image &picture)
{
    return e2e::waitFor([&]() { return previewMatch(program, picture) > 0.99; }, 3000);
}

void checkWindowAndControls()
{
    e2e::group("window and controls");
    e2e::Program program;
    if (!startResizer(program, e2e::freshFolder("startup")))
        return;
    const RECT place = e2e::screenRect(program.window);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    e2e::checkEqual(place.left, screenWidth / 2 - 270, "window left");
    e2e::checkEqual(place.top, screenHeight / 2 - 190, "window top");
    if (screenWidth == 1024 && screenHeight == 768)
        e2e::checkText(e2e::describe(place), "(242, 194) 544 x 374", "window on a 1024 x 768 screen");
    e2e::checkEqual(place.right - place.left, 544, "window width");
    e2e::checkEqual(place.bottom - place.top, 374, "window height");
    e2e::checkText(e2e::text(program.window), "Pixelhem", "window title");
    const LONG windowStyle = e2e::style(program.window);
    e2e::check((windowStyle & WS_POPUP) && (windowStyle & WS_SYSMENU), "a popup window with a system menu");
    e2e::check((windowStyle & (WS_CAPTION | WS_THICKFRAME | WS_BORDER)) == 0, "no caption, no border");

    e2e::checkEqual(static_cast<long long>(e2e::children(program.window).size()), 5, "five controls");
    for (const ControlPlace &expected : places) {
        HWND button = control(program, expected.id);
        if (button == NULL)
            continue;
        const std::string name = "control " + std::to_string(expected.id);
        e2e::checkText(e2e::className(button), "Button", name + " class");
        e2e::checkEqual(e2e::style(button), 0x5000000B, name + " style (child, visible, owner-drawn)");
        e2e::checkText(e2e::text(button), "", name + " text");
        const RECT at = e2e::rectInClient(button, program.window);
        const RECT want = {expected.x, expected.y, expected.x + expected.width, expected.y + expected.height};
        e2e::checkText(e2e::describe(at), e2e::describe(want), name + " place");
    }
    e2e::checkText(newSoundIds(program), "", "no sound at start");
    e2e::check(e2e::click(control(program, CLOSE)), "Close answers");
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "exit code after Close");
}

void checkSampleInstalled()
{
    e2e::group("sample picture installed");
    const std::string folder = e2e::freshFolder("sample");
    e2e::Program program;
    if (!startResizer(program, folder))
        return;
    std::string written;
    std::string committed;
    e2e::check(e2e::readFile(e2e::joinPath(folder, "sample.bmp"), written), "sample.bmp is written beside the program");
    e2e::check(e2e::readFile(e2e::requiredOption("sample"), committed), "the committed sample can be read");
    e2e::checkEqual(static_cast<long long>(written.size()), 110646, "sample size");
    e2e::check(written == committed, "sample.bmp is byte for byte the built-in sample");
    if (written.size() >= 54) {
        std::string expected = expectedSavedHeader();
        // The sample differs from saved pictures only in its resolution: 3,780 pixels a metre.
        const char resolution[4] = {static_cast<char>(0xC4), 0x0E, 0, 0};
        expected.replace(38, 4, resolution, 4);
        expected.replace(42, 4, resolution, 4);
        e2e::check(written.substr(0, 54) == expected, "sample header: 192 x 192, 24-bit, 3,780 pixels a metre");
    }
    e2e::Image sample;
    if (e2e::check(e2e::loadBmp(e2e::joinPath(folder, "sample.bmp"), sample), "the sample loads"))
        e2e::check(previewShows(program, sample), "the preview shows the sample");
    e2e::click(control(program, CLOSE));
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "exit code");

    // Removed by the user: the next start writes it again.
    DeleteFileA(e2e::windowsPath(e2e::joinPath(folder, "sample.bmp")).c_str());
    if (!startResizer(program, folder))
        return;
    std::string again;
    e2e::readFile(e2e::joinPath(folder, "sample.bmp"), again);
    e2e::check(again == committed, "a removed sample.bmp is written again at the next start");
    e2e::click(control(program, CLOSE));
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "exit code");
}

void checkExistingSampleKept()
{
    e2e::group("an existing sample.bmp is left alone");
    const std::string folder = e2e::freshFolder("ownsample");
    const e2e::Image blue = e2e::makeImage(40, 30, 0x2040D0);
    e2e::saveBmp(e2e::joinPath(folder, "sample.bmp"), blue);
    std::string before;
    e2e::readFile(e2e::joinPath(folder, "sample.bmp"), before);
    e2e::Program program;
    if (!startResizer(program, folder))
        return;
    std::string after;
    e2e::readFile(e2e::joinPath(folder, "sample.bmp"), after);
    e2e::check(!before.empty() && after == before, "the user's sample.bmp is unchanged");
    e2e::check(previewShows(program, blue), "the preview shows the user's sample.bmp, stretched");
    e2e::click(control(program, CLOSE));
    e2e::waitForExit(program, 10000);

    // Not a bitmap at all: still left alone, and the preview is a dark square.
    e2e::writeFile(e2e::joinPath(folder, "sample.bmp"), "not a picture");
    if (!startResizer(program, folder))
        return;
    std::string text;
    e2e::readFile(e2e::joinPath(folder, "sample.bmp"), text);
    e2e::checkText(text, "not a picture", "a sample.bmp that is no picture is unchanged");
    e2e::check(previewShows(program, e2e::makeImage(1, 1, 0x000000)), "its preview is an empty dark square");
    e2e::click(control(program, CLOSE));
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "exit code");
}

void checkStartFromAnotherFolder()
{
    e2e::group("started from another current folder");
    const std::string folder = e2e::freshFolder("elsewhere_program");
    const std::string current = e2e::freshFolder("elsewhere_current");
    // A different sample.bmp in the current folder must not be the one shown.
    const e2e::Image red = e2e::makeImage(192, 192, 0xC01010);
    e2e::saveBmp(e2e::joinPath(current, "sample.bmp"), red);
    std::string decoy;
    e2e::readFile(e2e::joinPath(current, "sample.bmp"), decoy);

    e2e::StartOptions options;
    options.currentDir = current;
    e2e::Program program;
    if (!startResizer(program, folder, options))
        return;
    e2e::Image sample;
    e2e::check(e2e::loadBmp(e2e::joinPath(folder, "sample.bmp"), sample), "the sample is written beside the program");
    e2e::check(previewShows(program, sample), "the preview shows the program's own sample");
    e2e::check(previewMatch(program, red) < 0.5, "not the sample.bmp of the current folder");
    std::string after;
    e2e::readFile(e2e::joinPath(current, "sample.bmp"), after);
    e2e::check(after == decoy, "the current folder's sample.bmp is untouched");
    e2e::click(control(program, CLOSE));
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "exit code");
}

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "resizer start-up");
    checkWindowAndControls();
    checkSampleInstalled();
    checkExistingSampleKept();
    checkStartFromAnotherFolder();
    return e2e::finish();
}
