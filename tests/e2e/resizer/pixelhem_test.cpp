// Pixelhem and Snowquill from outside: the resizer's sample, refused and numbered saves; both
// programs with damaged pictures (the file they show rewritten on disk between looks), with
// another current folder and in a full folder; the game in a folder path near the 260
// characters a path may have. With --soak=N the preview is repainted N more times, with a
// save every thousandth.
#include <windows.h>

#include <algorithm>

#include "driver.h"

using namespace e2e;

const int PREVIEW = 450, SAVE = 550, GET_PREVIEW = 650, TILE_A = 500, LOAD_BMP = 3500; // control ids
// The 32-bit programs' HALFTONE rounds a few pixels a level or two off the 64-bit test's own.
const int SLACK = 2;

int main(int argc, char **argv)
{
    init(argc, argv, "Pixelhem and Snowquill: saves, damaged pictures, awkward folders");
    const std::string work = requiredOption("work"), full = work + "/full", others = freshFolder("elsewhere");
    const auto contents = [](const std::string &path) {
        std::string text;
        return readFile(path, text) ? text : "(none)";
    };
    // Runs a command of the host's shell (Wine starts Unix programs too) and waits for its end.
    int commands = 0;
    const auto host = [&](const std::string &command) {
        const std::string done = work + "/host" + std::to_string(++commands);
        DeleteFileA(windowsPath(done).c_str());
        return WinExec(("/bin/sh -c \"" + command + "; echo $? >" + done + "\"").c_str(), SW_HIDE) > 31 &&
               waitFor([&]() { return contents(done).find('\n') != std::string::npos; }, 20000) &&
               contents(done) == "0\n";
    };
    // Whether a click on button rings the display's bell (Wine sounds MessageBeep as an X bell).
    const auto beeps = [&](HWND button) {
        const std::string log = work + "/bell" + std::to_string(++commands);
        host("python3 " + requiredOption("bellwatch") + " " + log + " </dev/null >/dev/null 2>&1 & true");
        return waitFor([&]() { return contents(log) == "ready\n"; }, 5000) && click(button) &&
               waitFor([&]() { return contents(log) == "ready\nbell\n"; }, 3000);
    };
    // Waits until a control of another program, repainted, shows expected (no pixels: the
    // light colour of a lettered tile).
    const auto shows = [](HWND control, const Image &expected) {
        SetWindowPos(GetAncestor(control, GA_ROOT), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        RedrawWindow(control, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW); // painted before it returns
        const auto looksRight = [&](const Image &seen) {
            return expected.pixels.empty() ? seen.at(3, 3) == 0xE2E2DC : matchShare(seen, expected, SLACK) >= 1.0;
        };
        return waitFor([&]() { return looksRight(captureWindow(control)); }, 3000);
    };
    const auto checkSaved = [&](const std::string &path, const Image &expected) {
        Image saved;
        check(contents(path).size() == 110646 &&
                  contents(path).substr(0, 54) == bmpFile(192, 192, 24, 0, 110592).substr(0, 54) &&
                  loadBmp(path, saved) && matchShare(saved, expected, SLACK) >= 1.0,
              path + " is a whole 24-bit bottom-up 192 x 192 picture of the preview");
    };
    const auto choose = [](const Program &program, int button, const std::string &path) {
        clickPosted(child(program.window, button));
        return chooseFile(waitForDialog(program.process.dwProcessId), path);
    };
    const auto launch = [](Program &program, const char *option, const std::string &folder, const char *className,
                           const StartOptions &options) {
        return start(program, requiredOption(option), folder, options) && waitForWindow(program, className) != NULL;
    };

    // What an earlier run left.
    host("umount -l " + full + " 2>/dev/null; cd " + work + " && rm -rf full home deep pictures bell*");
    const std::string pictures = freshFolder("pictures"), home = freshFolder("home"),
                      sample = joinPath(home, "sample.bmp");
    const std::string odd = joinPath(pictures, "\xE9t\xE9.bmp"), blocks = joinPath(pictures, "blocks.bmp"),
                      picture = bmpFile(64, 48, 24);
    check(writeFile(blocks, bmpFile(40, 40, 8)) && writeFile(odd, picture), "the test's pictures are written");

    group("start-up with another current folder: the sample beside the program");
    Program resizer, game;
    StartOptions elsewhere, here;
    elsewhere.currentDir = others;
    check(launch(resizer, "pixelhem", home, "Pixelhem", elsewhere), "Pixelhem starts");
    check(contents(sample) == contents(requiredOption("sample")), "sample.bmp is the built-in sample, byte for byte");
    const HWND preview = child(resizer.window, PREVIEW), save = child(resizer.window, SAVE);
    check(shows(preview, stretchedFile(sample, 0, 192)), "the preview shows the sample");
    // A cancelled Get Preview, then Save before any picture was chosen.
    clickPosted(child(resizer.window, GET_PREVIEW));
    check(cancelDialog(waitForDialog(resizer.process.dwProcessId)), "the open-file dialog is cancelled");
    check(beeps(save) && !fileExists(joinPath(home, "Snowquill_Image01.bmp")), "Save .Bmp beeps and writes nothing");
    check(shows(preview, stretchedFile(sample, 0, 192)), "the preview still shows the sample");

    group("saves: numbered from 01, past taken names, never through a file that is there");
    writeFile(joinPath(home, "Snowquill_Image02.bmp"), "kept");
    check(host("ln -s " + work + "/home/linked " + work + "/home/Snowquill_Image03.bmp"), "03 links to no file");
    check(choose(resizer, GET_PREVIEW, odd), "Get Preview takes a name beyond ASCII");
    const Image view = stretchedFile(odd, 0, 192);
    check(shows(preview, view), "the preview shows the chosen picture");
    check(click(save) && beeps(save), "the save that finds 03 taken beeps");
    // Off the screen, the preview is still saved whole.
    check(SetWindowPos(resizer.window, NULL, 900, 700, 0, 0, SWP_NOSIZE | SWP_NOZORDER) && click(save), "saved");
    checkSaved(joinPath(home, "Snowquill_Image01.bmp"), view);
    checkSaved(joinPath(home, "Snowquill_Image04.bmp"), view);
    check(contents(joinPath(home, "Snowquill_Image02.bmp")) == "kept" && !fileExists(joinPath(home, "linked")),
          "02 is left as it was, nothing was written through 03");
    // Bottom right, clear of the game's window, which goes top left.
    SetWindowPos(resizer.window, NULL, 480, 394, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // The soak: more repaints than a process has handles, so that a leak in a draw shows.
    const int rounds = std::atoi(option("soak").c_str());
    for (int round = 1; round <= rounds; ++round)
        check(RedrawWindow(preview, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW) && (round % 1000 != 0 || click(save)),
              "a repaint in the soak");

    group("the game with another current folder; a saved picture loaded in it");
    check(launch(game, "game", freshFolder("game"), "Snowquill", elsewhere), "Snowquill starts");
    SetWindowPos(game.window, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const HWND tile = child(game.window, TILE_A);
    check(shows(tile, stretchedFile(requiredOption("fernwick"), 1, 48)), "tile A shows the default picture");
    check(choose(game, LOAD_BMP, odd) && copyFile(joinPath(home, "Snowquill_Image01.bmp"), odd) &&
              shows(tile, stretchedFile(odd, 1, 48)),
          "Load .Bmp of a name beyond ASCII; the saved picture written over it shows");

    // shown: 0 nowhere, 1 in the preview only (the tiles' pieces are under a pixel), 2 everywhere
    const struct {
        const char *name;
        std::string bytes;
        int shown;
    } cases[] = {// clang-format off
        {"1-bit", bmpFile(64, 48, 1), 2}, {"4-bit", bmpFile(64, 48, 4), 2}, {"8-bit", bmpFile(64, 48, 8), 2},
        {"16-bit", bmpFile(64, 48, 16), 2}, {"32-bit", bmpFile(64, 48, 32), 2}, {"RLE8", bmpFile(64, 48, 8, 1), 2},
        {"RLE4", bmpFile(64, 48, 4, 2), 2}, {"top-down", std::string(picture).replace(22, 4, "\xD0\xFF\xFF\xFF"), 2},
        {"1 x 1", bmpFile(1, 1, 24), 1}, {"3 x 2", bmpFile(3, 2, 24), 1}, {"cut in the header", picture.substr(0, 30), 0},
        {"pixel offset past the end", std::string(picture).replace(12, 1, "\x10"), 0},
        {"pixels one byte short", picture.substr(0, picture.size() - 1), 0},
        {"60000 x 60000 in 1 KB", bmpFile(60000, 60000, 24, 0, 970), 0}, {"65535 x 1 in 1 KB", bmpFile(65535, 1, 32, 0, 970), 0},
        {"bad magic", "BX" + picture.substr(2), 0}, {"empty", "", 0}, {"a folder", "", -1}};
    // clang-format on
    int number = 4 + rounds / 1000;
    for (const auto &c : cases) {
        group(std::string("the picture shown, rewritten on disk: ") + c.name);
        DeleteFileA(odd.c_str());
        check(c.shown < 0 ? CreateDirectoryA(odd.c_str(), NULL) != 0 : writeFile(odd, c.bytes), "written");
        const Image look = stretchedFile(c.shown > 0 ? odd : "", 0, 192);
        check(shows(preview, look), "the preview shows the picture or a dark square");
        check(shows(tile, c.shown > 1 ? stretchedFile(odd, 1, 48) : Image()), "tile A shows a piece or a letter");
        check(click(save), "Save .Bmp answers");
        checkSaved(joinPath(home, "Snowquill_Image0" + std::to_string(++number) + ".bmp"), look);
    }
    terminate(game);
    terminate(resizer);

    group("a full folder: no half-written default picture or sample; a save cut short");
    // Room for the programs and the file "room" (120 KB) and about 90 KB more: no default
    // picture, sample or save (110,646 bytes each) fits until "room" goes.
    const std::string exes = requiredOption("game") + " " + requiredOption("pixelhem") + " " + requiredOption("winmm");
    check(host("mkdir -p " + full + " && mount -t tmpfs -o size=$(($(cat " + exes + " | wc -c) / 1024 + 210))k tmpfs " +
               full + " && cp " + exes + " " + full + " && head -c 122880 /dev/zero >" + full + "/room"),
          "a small file system is mounted (as root)");
    check(launch(game, "game", full, "Snowquill", here) && shows(child(game.window, TILE_A), Image()), "letters");
    terminate(game);
    check(launch(resizer, "pixelhem", full, "Pixelhem", here) && choose(resizer, GET_PREVIEW, blocks) &&
              beeps(child(resizer.window, SAVE)),
          "a save cut short beeps");
    check(DeleteFileA(joinPath(full, "room").c_str()) && click(child(resizer.window, SAVE)) &&
              !fileExists(joinPath(full, "Snowquill_Image01.bmp")) && !fileExists(joinPath(full, "sample.bmp")) &&
              !fileExists(joinPath(full, "BmpImages\\fernwick.bmp")),
          "no part of the short save, the sample or the default picture is left");
    checkSaved(joinPath(full, "Snowquill_Image02.bmp"), stretchedFile(blocks, 0, 192));
    terminate(resizer);
    writeFile(joinPath(full, "sample.bmp"), picture);
    check(launch(resizer, "pixelhem", full, "Pixelhem", here) && contents(joinPath(full, "sample.bmp")) == picture,
          "a sample.bmp there is kept");
    terminate(resizer);

    host("umount -l " + full);

    group("the game in a folder of 244 characters: Load .Bmp");
    const std::string deep = windowsPath(freshFolder("deep"));
    check(launch(game, "game", deep + "\\" + std::string(243 - deep.size(), 'd'), "Snowquill", here) &&
              choose(game, LOAD_BMP, blocks) && shows(child(game.window, TILE_A), stretchedFile(blocks, 1, 48)),
          "the open-file dialog takes a picture, and it shows");
    return finish();
}
