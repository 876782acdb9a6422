// Pixelhem and Snowquill from outside: the resizer's sample, with another current folder;
// refused and numbered saves, one from the window minimised; both programs choosing, in the
// open-file dialog, a picture named outside the code page; the game keeping its own picture and
// with damaged pictures (the file it shows rewritten on disk between looks); both programs in a
// full folder; the game in a folder path near the 260 characters a path may have. With --soak=N
// the preview is repainted N more times.
#include <cstdlib>

#include "driver.h"

using namespace e2e;

namespace {

const int PREVIEW = 450; // control ids
const int SAVE = 550;
const int GET_PREVIEW = 650;
const int TILE_A = 500;
const int LOAD_BMP = 3500;

string work;
string home;
int bells = 0;
Program resizer;
Program game;

string saved(int number)
{
    return joinPath(home, "Snowquill_Image0" + to_string(number) + ".bmp");
}

// Runs a command of the host's shell (Wine starts Unix programs too) and waits for its end.
bool host(Text command)
{
    const string done = work + "/host.status";
    DeleteFileA(windowsPath(done).c_str());
    WinExec(("/bin/sh -c \"" + command + "; echo $? >" + done + "\"").c_str(), SW_HIDE);
    return waitFor([&]() { return fileText(done) == "0\n"; }, 20000);
}

// Whether a click on button rings the display's bell (Wine sounds MessageBeep as an X bell).
bool beeps(HWND button)
{
    bells += 1;
    const string log = work + "/bell" + to_string(bells);
    host("python3 " + requiredOption("bellwatch") + " " + log + " </dev/null >/dev/null 2>&1 & true");
    return waitFor([&]() { return fileText(log) == "ready\n"; }, 5000) && click(button) &&
           waitFor([&]() { return fileText(log) == "ready\nbell\n"; }, 3000);
}

// Repainted, tile A of the game shows its piece of the picture file ("": its letter, as for a
// file that can't be read).
bool tileAShows(Text path)
{
    const HWND tile = GetDlgItem(game.window, TILE_A);
    RedrawWindow(tile, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    const Image picture = pictureOf(path);
    return path.empty() ? showsPlain(tile, LETTERED) : shows(tile, picture, pieceOf(picture, 1));
}

// The saved file is a whole 24-bit bottom-up 192 x 192 picture of the picture file stretched.
void checkSaved(Text path, Text picture)
{
    const string file = fileText(path);
    const Image from = pictureOf(picture);
    check(file.size() == 110646 && file.substr(0, 54) == bmpFile(192, 192).substr(0, 54) &&
              stretchOf(pictureOf(path), from, pieceOf(from, 0)),
          path + " is a whole 24-bit bottom-up 192 x 192 picture of " + picture);
}

// Starts a copy of the program --exe ("game" or "pixelhem") in folder and waits for its window.
bool launch(Program &program, const char *exe, Text folder, Text currentDir = "")
{
    return start(program, requiredOption(exe), folder, StartOptions{currentDir}) && waitForWindow(program, NULL);
}

HWND resizerItem(int id)
{
    return GetDlgItem(resizer.window, id);
}

void startResizer(Text elsewhere)
{
    group("start-up with another current folder: the sample beside the program");
    check(launch(resizer, "pixelhem", home, elsewhere), "Pixelhem starts");
    const string sample = joinPath(home, "sample.bmp");
    check(fileText(sample) == fileText(requiredOption("sample")), "sample.bmp is the built-in sample, byte for byte");
    const Image picture = pictureOf(sample);
    check(shows(resizerItem(PREVIEW), picture, pieceOf(picture, 0)), "the preview shows the sample");
    check(beeps(resizerItem(SAVE)) && !fileExists(saved(1)), "Save .Bmp before Get Preview beeps and writes nothing");
}

void saveNumbered(Text picture)
{
    group("saves: numbered from 01, past taken names, never through a file that is there");
    writeFile(saved(2), "kept");
    check(host("ln -s " + work + "/home/linked " + work + "/home/Snowquill_Image03.bmp"), "03 links to no file");
    check(choose(resizer, GET_PREVIEW, picture), "Get Preview takes a name outside the code page");
    check(click(resizerItem(SAVE)) && beeps(resizerItem(SAVE)), "the save that finds 03 taken beeps");
    ShowWindow(resizer.window, SW_MINIMIZE);
    check(click(resizerItem(SAVE)), "saved, minimised");
    ShowWindow(resizer.window, SW_RESTORE);
    checkSaved(saved(1), picture);
    checkSaved(saved(4), picture);
    check(fileText(saved(2)) == "kept" && !fileExists(joinPath(home, "linked")),
          "02 is left as it was, nothing was written through 03");
    // Bottom right, clear of the game's window, which goes top left.
    SetWindowPos(resizer.window, NULL, 480, 394, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// The game shows the picture file path, rewritten between looks: stored top-down, then with its
// pixels one byte short.
void damagedPictures(Text path)
{
    group("the picture shown, rewritten on disk");
    const string picture = bmpFile(64, 48);
    writeFile(path, string(picture).replace(22, 4, "\xD0\xFF\xFF\xFF"));
    check(tileAShows(path), "tile A shows its piece of the picture stored top-down");
    writeFile(path, picture.substr(0, picture.size() - 1));
    check(tileAShows(""), "tile A shows its letter, the pixels one byte short");
}

// Room for the programs and the file "room" (120 KB) and about 90 KB more: no default picture,
// sample or save (110,646 bytes each) fits until "room" goes.
void fullFolder(Text picture)
{
    group("a full folder: no half-written default picture or sample; a save cut short");
    const string full = work + "/full";
    const string exes = requiredOption("game") + " " + requiredOption("pixelhem") + " " + requiredOption("winmm");
    check(host("mkdir -p " + full + " && mount -t tmpfs -o size=$(($(cat " + exes + " | wc -c) / 1024 + 210))k tmpfs " +
               full + " && cp " + exes + " " + full + " && head -c 122880 /dev/zero >" + full + "/room"),
          "a small file system is mounted (as root)");
    check(launch(game, "game", full), "Snowquill starts");
    terminate(game);
    check(launch(resizer, "pixelhem", full) && choose(resizer, GET_PREVIEW, picture) && beeps(resizerItem(SAVE)),
          "a save cut short beeps");
    check(DeleteFileA(windowsPath(full + "/room").c_str()) && click(resizerItem(SAVE)) &&
              !fileExists(full + "/Snowquill_Image01.bmp") && !fileExists(full + "/sample.bmp") &&
              !fileExists(full + "/BmpImages/fernwick.bmp"),
          "no part of the short save, the sample or the default picture is left");
    checkSaved(full + "/Snowquill_Image02.bmp", picture);
    terminate(resizer);
    host("umount -l " + full);
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "Pixelhem and Snowquill: saves, damaged pictures, awkward folders");
    work = requiredOption("work");
    // What an earlier run left.
    host("umount -l " + work + "/full 2>/dev/null; cd " + work + " && rm -rf full home deep pictures bell*");
    const string elsewhere = freshFolder("elsewhere");
    const string pictures = freshFolder("pictures");
    home = freshFolder("home");
    const string odd = joinPath(pictures, string(FOREIGN_NAME) + ".bmp");
    const string blocks = joinPath(pictures, "blocks.bmp");
    writeFile(blocks, bmpFile(40, 40));
    writeFile(odd, bmpFile(64, 48));

    startResizer(elsewhere);
    saveNumbered(odd);

    // The soak: more repaints than a process has handles, so that a leak in a draw shows.
    const int rounds = std::atoi(option("soak").c_str());
    for (int round = 1; round <= rounds; ++round)
        check(RedrawWindow(resizerItem(PREVIEW), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW), "a repaint in the soak");

    group("the game with its own picture; a saved picture loaded in it");
    const string folder = freshFolder("game");
    const string own = freshFolder("game/BmpImages") + "\\fernwick.bmp";
    writeFile(own, bmpFile(40, 40));
    check(launch(game, "game", folder), "Snowquill starts");
    SetWindowPos(game.window, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    check(fileText(own) == bmpFile(40, 40) && tileAShows(own), "the picture already beside the game is kept and shown");
    check(choose(game, LOAD_BMP, odd) && copyFile(saved(1), odd) && tileAShows(odd),
          "Load .Bmp of a name outside the code page; the saved picture written over it shows");

    damagedPictures(odd);
    terminate(game);
    terminate(resizer);
    fullFolder(blocks);

    group("the game in a folder of 244 characters: Load .Bmp");
    const string deep = freshFolder("deep");
    check(launch(game, "game", deep + "\\" + string(243 - deep.size(), 'd')) && choose(game, LOAD_BMP, blocks) &&
              tileAShows(blocks),
          "the open-file dialog takes a picture, and it shows");
    return finish();
}
