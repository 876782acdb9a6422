// Saves that the system refuses or cuts short: the program's folder is so deep that the
// saved picture's full name is longer than a path may be (while the program and its sample
// still fit), and a file-size limit that stops the pixel rows half way. No file and no
// partial file may be left, the refusal beeps after the click sound, and the tool goes on
// working.
#include "resizer_steps.h"

#include <algorithm>
#include <cstdio>

using namespace resizer;

namespace {

// A folder inside base whose Windows path is exactly length characters long.
std::string folderOfLength(const std::string &base, size_t length)
{
    std::string folder = e2e::windowsPath(base);
    while (folder.size() < length) {
        const size_t room = length - folder.size() - 1; // one for the backslash
        if (room == 0) {
            folder += "x"; // lengthen the last part by one instead
            continue;
        }
        folder += "\\" + std::string(std::min<size_t>(room, 60), 'd');
    }
    return folder;
}

// Save .Bmp that must fail: the click sound, then the beep, and no file of any size.
void refusedSave(e2e::Program &program, const std::string &folder)
{
    const int bells = bellCount();
    e2e::check(e2e::click(control(program, SAVE_BMP), 10000), "Save .Bmp answers");
    e2e::checkText(newSoundIds(program), std::to_string(CLICK_WAVE), "the click sound plays first");
    e2e::check(bellAfter(bells), "then the refusal beeps");
    const std::vector<std::string> names = savedNames(folder);
    e2e::checkEqual(static_cast<long long>(names.size()), 0,
                    "no file and no partial file" + (names.empty() ? std::string() : ": " + names[0]));
}

// The tool still does its work after refused saves, and closes normally.
void goesOnWorking(e2e::Program &program, const std::string &picturePath)
{
    e2e::check(e2e::isRunning(program), "still running");
    if (choosePicture(program, picturePath))
        e2e::checkText(newSoundIds(program), std::to_string(CLICK_WAVE), "Get Preview works again");
    e2e::check(e2e::click(control(program, MINIMISE)), "Minimise answers");
    e2e::checkText(newSoundIds(program), std::to_string(BLIP_WAVE), "Minimise plays WAVE 950");
    ShowWindow(program.window, SW_RESTORE);
    e2e::check(e2e::click(control(program, CLOSE)), "Close answers");
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "exit code 0");
}

void checkPathTooLong(const std::string &picturePath)
{
    // 243 characters: "\pixelhem.exe" gives 256 and "\sample.bmp" 254, both within the
    // 260 a path may have; "\Snowquill_Image01.bmp" gives 265, which no file call takes.
    const std::string base = e2e::freshFolder("deep");
    if (e2e::windowsPath(base).size() > 200)
        e2e::fatal("the work folder's path is too long for this test: " + base);
    const std::string folder = folderOfLength(base, 243);
    e2e::group("a save into a folder whose names are too long");
    e2e::Program program;
    if (!startResizer(program, folder))
        return;
    e2e::check(entryExists(folder, "sample.bmp"), "the sample still fits and is written");
    if (!choosePicture(program, picturePath))
        return;
    e2e::checkText(newSoundIds(program), std::to_string(CLICK_WAVE), "Get Preview plays WAVE 900");
    for (int attempt = 1; attempt <= 3; ++attempt) {
        e2e::context("refused save " + std::to_string(attempt));
        refusedSave(program, folder);
    }
    e2e::context("");
    e2e::group("the tool goes on working after saves into a too long path");
    goesOnWorking(program, picturePath);
}

void checkCutShort(const std::string &picturePath)
{
    e2e::group("a save cut short half way through the pixel rows");
    const std::string folder = e2e::freshFolder("shortwrite");
    e2e::Program program;
    if (!startResizer(program, folder))
        return;
    if (!choosePicture(program, picturePath))
        return;
    newSoundIds(program);
    // Files of this program may now grow to 60,000 bytes: the header and about half of the
    // 110,592 bytes of pixel rows get written.
    const int limited = limitFileSize("shortwrite", 60000);
    if (limited < 0) {
        std::printf("note: no host side to limit file sizes; a save cut short is not checked\n");
        e2e::click(control(program, CLOSE));
        e2e::waitForExit(program, 10000);
        return;
    }
    e2e::checkEqual(limited, 1, "the file-size limit is set on the one program");
    for (int attempt = 1; attempt <= 2; ++attempt) {
        e2e::context("save cut short " + std::to_string(attempt));
        refusedSave(program, folder);
    }
    e2e::context("");
    e2e::check(entryExists(folder, "sample.bmp") && entryExists(folder, "sounds.log"),
               "the other files of the folder are still there");
    e2e::group("the tool goes on working after saves cut short");
    goesOnWorking(program, picturePath);
}

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "resizer refused saves");
    const std::string pictures = e2e::freshFolder("refusals_pictures");
    const std::string picturePath = e2e::joinPath(pictures, "blocks.bmp");
    if (!e2e::saveBmp(picturePath, blockPicture(320, 200, 4, 3)))
        e2e::fatal("could not write the test picture");
    checkPathTooLong(picturePath);
    checkCutShort(picturePath);
    return e2e::finish();
}
