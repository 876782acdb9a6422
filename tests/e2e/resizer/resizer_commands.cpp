// Pixelhem's commands before any picture is chosen, the cancelled dialog, the pressed
// look of a button, dragging by the title area, minimising and closing.
#include "resizer_steps.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

using namespace resizer;

namespace {

void checkRefusedSave(e2e::Program &program)
{
    e2e::group("Save .Bmp before any Get Preview");
    const int bells = bellCount();
    e2e::check(e2e::click(control(program, SAVE_BMP)), "Save .Bmp answers");
    e2e::check(bellAfter(bells), "a refused save beeps");
    e2e::checkText(newSoundIds(program), "", "a refused save plays no sound");
    e2e::checkEqual(static_cast<long long>(savedNames(program.folder).size()), 0, "nothing is saved");
}

void checkCancelledDialog(e2e::Program &program)
{
    e2e::group("Get Preview, then Cancel");
    e2e::Image sample;
    if (!e2e::check(e2e::loadBmp(e2e::joinPath(program.folder, "sample.bmp"), sample), "the sample is installed"))
        return;
    const e2e::Image expected = averageStretch(sample, 192, 192);
    auto showsSample = [&]() {
        return e2e::matchShare(e2e::captureWindow(control(program, PREVIEW)), expected, 12) > 0.99;
    };
    e2e::check(e2e::waitFor(showsSample, 3000), "the preview shows the sample before");
    e2e::clickPosted(control(program, GET_PREVIEW));
    HWND dialog = e2e::waitForDialog(program.process.dwProcessId);
    if (!e2e::check(dialog != NULL, "the open-file dialog appears"))
        return;
    e2e::check(e2e::cancelDialog(dialog), "the dialog closes on Cancel");
    e2e::check(settle(program), "the program answers after the dialog");
    e2e::checkText(newSoundIds(program), std::to_string(CLICK_WAVE), "Get Preview plays WAVE 900");
    if (!e2e::check(e2e::waitFor(showsSample, 3000), "the preview still shows the sample"))
        e2e::saveBmp(e2e::joinPath(program.folder, "preview-after-cancel.bmp"),
                     e2e::captureWindow(control(program, PREVIEW)));

    // Still no picture chosen: Save .Bmp is still refused.
    const int bells = bellCount();
    e2e::click(control(program, SAVE_BMP));
    e2e::check(bellAfter(bells), "Save .Bmp still beeps after a cancelled dialog");
    e2e::checkText(newSoundIds(program), "", "and plays no sound");
    e2e::checkEqual(static_cast<long long>(savedNames(program.folder).size()), 0, "and saves nothing");
}

void checkPressedLook(e2e::Program &program)
{
    e2e::group("a held button shows its pressed bitmap");
    HWND button = control(program, SAVE_BMP);
    const std::string assets = e2e::requiredOption("assets");
    e2e::Image normal;
    e2e::Image pressed;
    if (!e2e::check(e2e::loadBmp(e2e::joinPath(assets, "savebmp.bmp"), normal) &&
                        e2e::loadBmp(e2e::joinPath(assets, "savebmp_down.bmp"), pressed),
                    "the Save .Bmp bitmaps can be read"))
        return;
    e2e::check(e2e::matchShare(e2e::captureWindow(button), normal, 4) > 0.99, "at rest: the normal bitmap");
    e2e::postMouse(button, WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
    e2e::check(e2e::waitFor([&]() { return e2e::matchShare(e2e::captureWindow(button), pressed, 4) > 0.99; }, 3000),
               "held down: the pressed bitmap");
    // Released away from the button: no command.
    const int bells = bellCount();
    e2e::postMouse(button, WM_LBUTTONUP, -40, -40, 0);
    e2e::check(e2e::waitFor([&]() { return e2e::matchShare(e2e::captureWindow(button), normal, 4) > 0.99; }, 3000),
               "released: the normal bitmap again");
    e2e::check(settle(program), "the program answers");
    e2e::check(noBellAfter(bells), "a press released outside the button runs no command");
}

void checkDragging(e2e::Program &program)
{
    e2e::group("dragging by the title area");
    auto origin = [&]() {
        const RECT r = e2e::screenRect(program.window);
        return std::make_pair(static_cast<int>(r.left), static_cast<int>(r.top));
    };
    const auto start = origin();
    struct Press {
        int x, y;   // client point pressed
        bool moves; // whether the window follows
    };
    // Real pointer input lands within a pixel of where it is aimed, so the points lie two
    // pixels inside or outside the title area (x 0 to 479, y 0 to 24).
    const Press presses[] = {
        {10, 10, true},  {477, 22, true},  {2, 2, true},    {240, 12, true},   {482, 10, false},
        {490, 5, false}, {200, 27, false}, {10, 40, false}, {300, 200, false}, {530, 100, false},
    };
    auto closeTo = [](std::pair<int, int> a, std::pair<int, int> b) {
        return std::abs(a.first - b.first) <= 2 && std::abs(a.second - b.second) <= 2;
    };
    for (const Press &press : presses) {
        const auto before = origin();
        e2e::context("press at client (" + std::to_string(press.x) + ", " + std::to_string(press.y) + ")");
        e2e::realDrag(before.first + press.x, before.second + press.y, 30, 20);
        settle(program);
        const std::pair<int, int> moved(before.first + 30, before.second + 20);
        if (press.moves)
            e2e::waitFor([&]() { return closeTo(origin(), moved); }, 3000);
        const auto after = origin();
        const std::string where = "from (" + std::to_string(before.first) + ", " + std::to_string(before.second) +
                                  ") to (" + std::to_string(after.first) + ", " + std::to_string(after.second) + ")";
        if (press.moves)
            e2e::check(closeTo(after, moved), "the window follows the pointer by (30, 20): " + where);
        else
            e2e::check(after == before, "the window stays where it is: " + where);
    }
    e2e::context("");

    // A double click in the title area: the second press neither drags nor maximises.
    const auto beforeDouble = origin();
    const RECT sizeBefore = e2e::screenRect(program.window);
    e2e::realDrag(beforeDouble.first + 100, beforeDouble.second + 10, 0, 0);
    e2e::realDrag(beforeDouble.first + 100, beforeDouble.second + 10, 0, 0);
    settle(program);
    const RECT sizeAfter = e2e::screenRect(program.window);
    e2e::check(origin() == beforeDouble, "a double click in the title area leaves the window in place");
    e2e::check(IsZoomed(program.window) == FALSE && sizeAfter.right - sizeAfter.left == 544 &&
                   sizeAfter.bottom - sizeAfter.top == 374 && sizeBefore.right - sizeBefore.left == 544,
               "and does not maximise it");
    SetWindowPos(program.window, NULL, start.first, start.second, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    settle(program);
    e2e::checkText(newSoundIds(program), "", "dragging plays no sound");
}

void checkMinimise(e2e::Program &program)
{
    e2e::group("Minimise");
    e2e::check(e2e::click(control(program, MINIMISE)), "Minimise answers");
    e2e::check(e2e::waitFor([&]() { return IsIconic(program.window) != FALSE; }, 3000), "the window is minimised");
    e2e::checkText(newSoundIds(program), std::to_string(BLIP_WAVE), "Minimise plays WAVE 950");
    ShowWindow(program.window, SW_RESTORE);
    e2e::check(e2e::waitFor([&]() { return IsIconic(program.window) == FALSE; }, 3000), "restored again");
}

void checkClose(e2e::Program &program)
{
    e2e::group("Close");
    e2e::check(e2e::click(control(program, CLOSE)), "Close answers");
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "the program ends with exit code 0");
    e2e::checkText(newSoundIds(program), "", "Close plays no sound");
}

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "resizer commands");
    e2e::Program program;
    if (!startResizer(program, e2e::freshFolder("commands")))
        return e2e::finish();
    if (bellCount() < 0)
        std::printf("note: no --bells recording; beeps are not checked\n");
    checkRefusedSave(program);
    checkCancelledDialog(program);
    checkPressedLook(program);
    checkDragging(program);
    checkMinimise(program);
    checkClose(program);
    return e2e::finish();
}
