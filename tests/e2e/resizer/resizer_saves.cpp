// Pixelhem's saves: the numbered names, the file layout, the pixels against a reference
// stretch of the chosen picture (also with the window covered, off the screen or
// minimised), and a second run that continues after the files already there.
#include "resizer_steps.h"

#include <map>

using namespace resizer;

namespace {

const int PICTURE_WIDTH = 640;
const int PICTURE_HEIGHT = 480;

std::string savedName(int number) { return "Snowquill_Image0" + std::to_string(number) + ".bmp"; }

// Save .Bmp once: WAVE 900, no beep, and the expected file appears.
void saveAs(e2e::Program &program, const std::string &expectedName)
{
    e2e::context("saving " + expectedName);
    const int bells = bellCount();
    e2e::check(e2e::click(control(program, SAVE_BMP), 10000), "Save .Bmp answers");
    e2e::checkText(newSoundIds(program), std::to_string(CLICK_WAVE), "an accepted save plays WAVE 900");
    e2e::check(entryExists(program.folder, expectedName), expectedName + " is written");
    e2e::check(noBellAfter(bells, 300), "a save that worked does not beep");
    e2e::context("");
}

std::string readSaved(const e2e::Program &program, int number)
{
    std::string contents;
    e2e::readFile(e2e::joinPath(program.folder, savedName(number)), contents);
    return contents;
}

// The saved picture against the reference stretch: nearly all pixels close to it, every
// block centre exactly its block's colour.
void checkAgainstReference(const std::string &path, const e2e::Image &picture)
{
    e2e::Image saved;
    if (!e2e::check(e2e::loadBmp(path, saved), "the saved file loads as a bitmap"))
        return;
    e2e::checkEqual(saved.width, 192, "saved width");
    e2e::checkEqual(saved.height, 192, "saved height");
    const e2e::Image reference = averageStretch(picture, 192, 192);
    const double share = e2e::matchShare(saved, reference, 40);
    e2e::check(share > 0.95, "the saved pixels follow the reference stretch (" + std::to_string(share) + ")");
    // Four columns of 160 pixels become 48 pixels each, three rows of 160 become 64: the
    // picture is squeezed more across than down and fills the whole square.
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            const int x = col * 48 + 24;
            const int y = row * 64 + 32;
            e2e::check(e2e::channelDistance(saved.at(x, y), blockColour(col, row)) <= 4,
                       "block (" + std::to_string(col) + ", " + std::to_string(row) + ") at (" + std::to_string(x) +
                           ", " + std::to_string(y) + ")");
            // Just inside the block's edges too: nothing is kept in proportion or cut off.
            e2e::check(e2e::channelDistance(saved.at(col * 48 + 4, row * 64 + 4), blockColour(col, row)) <= 24,
                       "block (" + std::to_string(col) + ", " + std::to_string(row) + ") near its top left");
            e2e::check(e2e::channelDistance(saved.at(col * 48 + 43, row * 64 + 59), blockColour(col, row)) <= 24,
                       "block (" + std::to_string(col) + ", " + std::to_string(row) + ") near its bottom right");
        }
}

// A window of this test process with a solid colour, over the given screen rectangle.
HWND coverWindow(const RECT &over)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    windowClass.lpszClassName = "ResizerTestCover";
    RegisterClassA(&windowClass);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "ResizerTestCover", "", WS_POPUP | WS_VISIBLE,
                                 over.left - 20, over.top - 20, over.right - over.left + 40,
                                 over.bottom - over.top + 40, NULL, NULL, GetModuleHandleA(NULL), NULL);
    UpdateWindow(cover);
    return cover;
}

void pumpMessages(int durationMs)
{
    const DWORD end = e2e::now() + static_cast<DWORD>(durationMs);
    while (e2e::now() < end) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(10);
    }
}

void checkTenSaves(e2e::Program &program, const std::string &picturePath, const e2e::Image &picture,
                   std::map<std::string, std::string> &firstRun)
{
    e2e::group("ten saves of a 640 x 480 picture");
    if (!choosePicture(program, picturePath))
        return;
    e2e::checkText(newSoundIds(program), std::to_string(CLICK_WAVE), "Get Preview plays WAVE 900");

    // 1: the window in plain view.
    saveAs(program, savedName(1));
    const std::string first = readSaved(program, 1);
    checkAgainstReference(e2e::joinPath(program.folder, savedName(1)), picture);
    const e2e::Image shown = e2e::captureWindow(control(program, PREVIEW));
    e2e::Image firstImage;
    e2e::loadBmp(e2e::joinPath(program.folder, savedName(1)), firstImage);
    e2e::check(e2e::matchShare(firstImage, shown, 2) > 0.999, "the saved file holds what the preview shows");

    // 2: the preview covered by another window.
    e2e::group("saving while covered, off the screen, minimised");
    HWND cover = coverWindow(e2e::screenRect(control(program, PREVIEW)));
    pumpMessages(300);
    const e2e::Image covered = e2e::captureWindow(control(program, PREVIEW));
    e2e::check(e2e::matchShare(covered, e2e::makeImage(192, 192, 0xFF00FF), 8) > 0.9,
               "the cover really hides the preview on the screen");
    saveAs(program, savedName(2));
    e2e::check(readSaved(program, 2) == first, "saved while covered: the same file as in plain view");
    DestroyWindow(cover);
    pumpMessages(100);

    // 3: most of the window off the screen.
    const RECT home = e2e::screenRect(program.window);
    SetWindowPos(program.window, NULL, GetSystemMetrics(SM_CXSCREEN) - 100, GetSystemMetrics(SM_CYSCREEN) - 60, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    settle(program);
    saveAs(program, savedName(3));
    e2e::check(readSaved(program, 3) == first, "saved off the screen: the same file");
    SetWindowPos(program.window, NULL, home.left, home.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // 4: minimised.
    e2e::click(control(program, MINIMISE));
    e2e::checkText(newSoundIds(program), std::to_string(BLIP_WAVE), "Minimise plays WAVE 950");
    e2e::check(e2e::waitFor([&]() { return IsIconic(program.window) != FALSE; }, 3000), "the window is minimised");
    saveAs(program, savedName(4));
    e2e::check(readSaved(program, 4) == first, "saved while minimised: the same file");
    ShowWindow(program.window, SW_RESTORE);
    settle(program);

    // 5 to 10 in plain view.
    e2e::group("names, sizes and headers of ten saves");
    for (int number = 5; number <= 10; ++number)
        saveAs(program, savedName(number));
    const std::vector<std::string> expectedNames = {
        "Snowquill_Image01.bmp", "Snowquill_Image010.bmp", "Snowquill_Image02.bmp", "Snowquill_Image03.bmp",
        "Snowquill_Image04.bmp", "Snowquill_Image05.bmp",  "Snowquill_Image06.bmp", "Snowquill_Image07.bmp",
        "Snowquill_Image08.bmp", "Snowquill_Image09.bmp",
    };
    const std::vector<std::string> names = savedNames(program.folder);
    std::string listed;
    for (const std::string &name : names)
        listed += name + " ";
    e2e::check(names == expectedNames, "exactly Snowquill_Image01.bmp .. 09 and 010 (found: " + listed + ")");
    for (int number = 1; number <= 10; ++number) {
        e2e::context(savedName(number));
        const std::string contents = readSaved(program, number);
        e2e::checkEqual(static_cast<long long>(contents.size()), SAVED_FILE_SIZE, "file size");
        e2e::check(contents.substr(0, 54) == expectedSavedHeader(), "header bytes");
        // 192 rows of 576 bytes, no padding: 110,592 bytes after the header.
        e2e::checkEqual(static_cast<long long>(pixelPart(contents).size()), 192LL * 576, "rows of 576 bytes");
        e2e::check(pixelPart(contents) == pixelPart(first), "same pixels as the first save");
        firstRun[savedName(number)] = contents;
    }
    e2e::context("");
}

void checkSecondRun(const std::string &folder, const std::string &picturePath,
                    const std::map<std::string, std::string> &firstRun)
{
    e2e::group("a second run continues after the existing files");
    // A file of the user's own among the names the next run would take.
    const std::string usersOwn = "a picture the user made, not to be replaced";
    e2e::writeFile(e2e::joinPath(folder, savedName(12)), usersOwn);

    e2e::Program program;
    if (!startResizer(program, folder))
        return;
    if (!choosePicture(program, picturePath))
        return;
    newSoundIds(program);
    saveAs(program, savedName(11));
    saveAs(program, savedName(13));
    std::string contents;
    e2e::readFile(e2e::joinPath(folder, savedName(12)), contents);
    e2e::checkText(contents, usersOwn, "Snowquill_Image012.bmp, already there, is untouched");
    for (const auto &earlier : firstRun) {
        std::string now;
        e2e::readFile(e2e::joinPath(folder, earlier.first), now);
        e2e::check(now == earlier.second, earlier.first + " of the first run is unchanged");
    }
    e2e::checkEqual(static_cast<long long>(savedNames(folder).size()), 13, "thirteen files in all");
    e2e::checkEqual(static_cast<long long>(readSaved(program, 13).size()), SAVED_FILE_SIZE, "the new file's size");
    e2e::click(control(program, CLOSE));
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "exit code");
}

void checkUnusablePicture(const std::string &folder)
{
    e2e::group("a chosen file that is no usable bitmap");
    const std::string junk = e2e::joinPath(e2e::freshFolder("saves_junk"), "broken.bmp");
    // "BM" and a header that promises far more than the file holds.
    std::string cut = expectedSavedHeader();
    cut += std::string(100, '\x7f');
    e2e::writeFile(junk, cut);
    e2e::Program program;
    if (!startResizer(program, folder))
        return;
    if (!choosePicture(program, junk))
        return;
    newSoundIds(program);
    const e2e::Image shown = e2e::captureWindow(control(program, PREVIEW));
    e2e::check(e2e::matchShare(shown, e2e::makeImage(192, 192, 0), 8) > 0.99, "the preview is an empty dark square");
    const int before = static_cast<int>(savedNames(folder).size());
    e2e::click(control(program, SAVE_BMP), 10000);
    e2e::checkText(newSoundIds(program), std::to_string(CLICK_WAVE), "the save plays WAVE 900");
    const std::vector<std::string> names = savedNames(folder);
    e2e::checkEqual(static_cast<long long>(names.size()), before + 1, "one more file");
    e2e::Image saved;
    if (e2e::check(e2e::loadBmp(e2e::joinPath(folder, savedName(14)), saved), "Snowquill_Image014.bmp loads"))
        e2e::check(e2e::matchShare(saved, e2e::makeImage(192, 192, 0), 8) > 0.99, "it holds the dark square");
    // The tool goes on working: many repaints of the broken picture, then a good one.
    for (int i = 0; i < 200; ++i)
        RedrawWindow(control(program, PREVIEW), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    e2e::check(settle(program), "still answering after repeated paints");
    e2e::check(e2e::isRunning(program), "still running");
    e2e::click(control(program, CLOSE));
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "exit code");
}

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "resizer saves");
    const std::string pictures = e2e::freshFolder("saves_pictures");
    const std::string picturePath = e2e::joinPath(pictures, "blocks.bmp");
    const e2e::Image picture = blockPicture(PICTURE_WIDTH, PICTURE_HEIGHT, 4, 3);
    if (!e2e::saveBmp(picturePath, picture))
        e2e::fatal("could not write the test picture");

    const std::string folder = e2e::freshFolder("saves");
    std::map<std::string, std::string> firstRun;
    e2e::Program program;
    if (startResizer(program, folder)) {
        checkTenSaves(program, picturePath, picture, firstRun);
        e2e::group("closing the first run");
        e2e::click(control(program, CLOSE));
        e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "exit code");
    }
    checkSecondRun(folder, picturePath, firstRun);
    checkUnusablePicture(folder);
    return e2e::finish();
}
