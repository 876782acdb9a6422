// Both programs started from awkward folders: a folder that refuses every write, another
// current folder, a folder whose path has spaces and accented letters, and folders whose
// paths come near the 260 characters a path may have; and the resizer saving while
// another program holds a file of the name it would write next.
//
// Options: --game, --pixelhem, --corpus, --fernwick and --sample (the built-in pictures),
// --readonly (a folder that refuses writes, holding snowquill.exe, pixelhem.exe and the
// recording winmm.dll; "" when none could be made) and --readonly-how.
#include "resizer_steps.h"
#include "robust_support.h"

#include <cstdio>
#include <functional>

using namespace robust;

namespace {

std::string corpusFile(const std::string &name)
{
    return e2e::joinPath(e2e::windowsPath(e2e::requiredOption("corpus")), name);
}

e2e::Image reference(const char *option)
{
    e2e::Image picture;
    if (!e2e::loadBmp(e2e::requiredOption(option), picture))
        e2e::fatal(std::string("could not read the picture of --") + option);
    return picture;
}

// Starts a program that is already in its folder (a read-only folder can't take a copy).
bool startInPlace(e2e::Program &program, const std::string &exe, const char *className)
{
    program = e2e::Program();
    program.exe = exe;
    program.folder = exe.substr(0, exe.rfind('\\'));
    program.soundLog = e2e::joinPath(e2e::windowsPath(e2e::requiredOption("work")), "readonly-sounds.log");
    DeleteFileA(program.soundLog.c_str());
    SetEnvironmentVariableA("SNOWQUILL_SOUND_LOG", program.soundLog.c_str());
    std::string commandLine = "\"" + exe + "\"";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(exe.c_str(), buffer.data(), NULL, NULL, FALSE, 0, NULL, program.folder.c_str(), &startup,
                        &program.process))
        return e2e::check(false, "could not start " + exe);
    CloseHandle(program.process.hThread);
    program.process.hThread = NULL;
    return e2e::check(e2e::waitForWindow(program, className) != NULL, std::string("a ") + className + " window");
}

void attach(game::Game &g)
{
    g.window = g.program.window;
    for (int tile = 1; tile <= game::TILES; ++tile)
        g.tile[tile] = e2e::child(g.window, game::tileId(tile));
    g.newGame = e2e::child(g.window, ID_START);
    g.loadBmp = e2e::child(g.window, ID_PICTURES);
    g.cancel = e2e::child(g.window, ID_CANCEL);
    g.preview = e2e::child(g.window, ID_DISPLAY);
    g.close = e2e::child(g.window, ID_CLOSEOUT);
    g.moves = e2e::child(g.window, ID_MOVECOUNT);
    g.result = e2e::child(g.window, ID_RESULT);
}

// Waits (a window's first paint comes after it shows) until count() gives the expected
// number; returns the last count seen.
int settledCount(const std::function<int()> &count, int expected)
{
    int seen = count();
    e2e::waitFor(
        [&]() {
            seen = count();
            return seen == expected;
        },
        3000);
    return seen;
}

bool settledLook(const std::function<bool()> &look) { return e2e::waitFor(look, 3000); }

int letteredTiles(const game::Game &g)
{
    int count = 0;
    for (int tile = 1; tile <= game::TILES; ++tile)
        if (isLetteredTile(game::view(g.tile[tile])))
            ++count;
    return count;
}

int matchingTiles(const game::Game &g, const e2e::Image &picture)
{
    int count = 0;
    for (int tile = 1; tile <= game::TILES; ++tile)
        if (e2e::matchShare(game::view(g.tile[tile]), game::expectedPiece(picture, tile), 40) > 0.8)
            ++count;
    return count;
}

// The board plays: New Game, moves of tiles next to the empty slot, each counted; Cancel.
void playsOn(game::Game &g, int moves)
{
    e2e::check(e2e::click(g.newGame), "New Game answers");
    for (int move = 1; move <= moves; ++move) {
        int slots[game::TILES + 1];
        game::readSlots(g, slots);
        const int empty = game::emptySlot(slots);
        int chosen = 0;
        for (int tile = 1; tile <= game::TILES && chosen == 0; ++tile) {
            const int dr = (slots[tile] - 1) / 4 - (empty - 1) / 4;
            const int dc = (slots[tile] - 1) % 4 - (empty - 1) % 4;
            if (dr * dr + dc * dc == 1 && (move % 2 == 0 || tile > 7))
                chosen = tile;
        }
        for (int tile = 1; tile <= game::TILES && chosen == 0; ++tile) {
            const int dr = (slots[tile] - 1) / 4 - (empty - 1) / 4;
            const int dc = (slots[tile] - 1) % 4 - (empty - 1) % 4;
            if (dr * dr + dc * dc == 1)
                chosen = tile;
        }
        if (!e2e::check(chosen != 0 && e2e::click(g.tile[chosen]), "a tile beside the empty slot moves"))
            return;
        const std::string result = game::resultField(g);
        if (result == "Solved" || result == "Unsolvable")
            return;
        e2e::checkText(game::movesField(g), std::to_string(move), "the move is counted");
    }
    e2e::check(e2e::click(g.cancel), "Cancel answers");
}

bool loadInGame(game::Game &g, const std::string &path)
{
    e2e::clickPosted(g.loadBmp);
    HWND dialog = e2e::waitForDialog(g.program.process.dwProcessId);
    return e2e::check(dialog != NULL && e2e::chooseFile(dialog, path) && responsive(g.window),
                      "Load .Bmp takes " + path);
}

void closeGame(game::Game &g)
{
    e2e::check(e2e::click(g.close), "the close button answers");
    e2e::checkEqual(e2e::waitForExit(g.program, 10000), 0, "the game exits with code 0");
    e2e::terminate(g.program);
}

void closeResizer(e2e::Program &program)
{
    e2e::check(e2e::click(resizer::control(program, resizer::CLOSE)), "Close answers");
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "the resizer exits with code 0");
    e2e::terminate(program);
}

// Save .Bmp that the system refuses: the click sound, then the beep, and no file at all.
void refusedSave(e2e::Program &program, const std::string &folder)
{
    const int bells = resizer::bellCount();
    e2e::check(e2e::click(resizer::control(program, resizer::SAVE_BMP), 10000), "Save .Bmp answers");
    e2e::checkText(resizer::newSoundIds(program), std::to_string(resizer::CLICK_WAVE), "the click sound");
    e2e::check(resizer::bellAfter(bells), "then the refusal's beep");
    e2e::checkEqual(static_cast<long long>(resizer::savedNames(folder).size()), 0, "no file, no partial file");
}

std::string savedOnce(e2e::Program &program)
{
    const std::vector<std::string> before = resizer::savedNames(program.folder);
    const int bells = resizer::bellCount();
    e2e::check(e2e::click(resizer::control(program, resizer::SAVE_BMP), 10000), "Save .Bmp answers");
    const std::vector<std::string> after = resizer::savedNames(program.folder);
    e2e::check(resizer::noBellAfter(bells), "no beep for a save that worked");
    if (!e2e::checkEqual(static_cast<long long>(after.size()), static_cast<long long>(before.size()) + 1,
                         "one more saved picture"))
        return "";
    std::string name;
    for (const std::string &candidate : after)
        if (std::find(before.begin(), before.end(), candidate) == before.end())
            name = candidate;
    std::string contents;
    e2e::readFile(e2e::joinPath(program.folder, name), contents);
    e2e::checkEqual(static_cast<long long>(contents.size()), resizer::SAVED_FILE_SIZE, name + " is whole");
    return name;
}

// A folder inside base whose Windows path is exactly length characters long.
std::string folderOfLength(const std::string &base, size_t length)
{
    std::string folder = e2e::windowsPath(base);
    while (folder.size() < length) {
        const size_t room = length - folder.size() - 1;
        if (room == 0) {
            folder += "x";
            continue;
        }
        folder += "\\" + std::string(std::min<size_t>(room, 50), 'p');
    }
    return folder;
}

// ---- The cases ----

void readOnlyFolder(const e2e::Image &depth24)
{
    const std::string folder = e2e::option("readonly");
    e2e::group("started from a read-only folder (" + e2e::option("readonly-how") + ")");
    if (folder.empty()) {
        e2e::check(false, "no read-only folder could be made on this machine");
        return;
    }
    const std::string windowsFolder = e2e::windowsPath(folder);
    const Snapshot before = snapshot(windowsFolder);

    game::Game g;
    if (!startInPlace(g.program, e2e::joinPath(windowsFolder, "snowquill.exe"), "Snowquill"))
        return;
    attach(g);
    e2e::check(!e2e::folderExists(e2e::joinPath(windowsFolder, "BmpImages")), "no BmpImages folder could be made");
    e2e::checkEqual(settledCount([&]() { return letteredTiles(g); }, game::TILES), game::TILES,
                    "no default picture: every tile is a lettered tile");
    e2e::check(settledLook([&]() { return isLightSquare(game::view(g.preview)); }), "the preview is a light square");
    playsOn(g, 10);
    if (loadInGame(g, corpusFile("depth24.bmp")))
        e2e::checkEqual(settledCount([&]() { return matchingTiles(g, depth24); }, game::TILES), game::TILES,
                        "a picture from elsewhere still shows");
    playsOn(g, 6);
    closeGame(g);

    e2e::Program program;
    if (!startInPlace(program, e2e::joinPath(windowsFolder, "pixelhem.exe"), "Pixelhem"))
        return;
    e2e::check(
        settledLook([&]() { return isDarkSquare(e2e::captureWindow(resizer::control(program, resizer::PREVIEW))); }),
        "no sample could be written: the preview is a dark square");
    {
        const int bells = resizer::bellCount();
        e2e::check(e2e::click(resizer::control(program, resizer::SAVE_BMP)), "Save .Bmp before a preview answers");
        e2e::check(resizer::bellAfter(bells), "and beeps");
    }
    resizer::newSoundIds(program);
    if (resizer::choosePicture(program, corpusFile("depth24.bmp"))) {
        resizer::newSoundIds(program);
        e2e::check(!isDarkSquare(e2e::captureWindow(resizer::control(program, resizer::PREVIEW))),
                   "a picture from elsewhere shows in the preview");
        for (int attempt = 1; attempt <= 3; ++attempt) {
            e2e::context("refused save " + std::to_string(attempt));
            refusedSave(program, windowsFolder);
        }
        e2e::context("");
    }
    e2e::check(responsive(program.window), "the resizer goes on answering");
    closeResizer(program);
    const std::string changed = compare(before, snapshot(windowsFolder));
    e2e::check(changed.empty(), "nothing in the read-only folder changed:\n" + changed);
}

void otherCurrentFolder(const e2e::Image &fernwick, const e2e::Image &sample, const e2e::Image &depth24)
{
    e2e::group("started with another current folder");
    const std::string elsewhere = e2e::freshFolder("current elsewhere");
    e2e::StartOptions options;
    options.currentDir = elsewhere;
    game::Game g;
    game::launch(g, "game home", options);
    e2e::check(e2e::fileExists(e2e::joinPath(g.program.folder, "BmpImages\\fernwick.bmp")),
               "the default picture is written beside the program");
    e2e::checkEqual(settledCount([&]() { return matchingTiles(g, fernwick); }, game::TILES), game::TILES,
                    "the tiles show the default picture");
    playsOn(g, 8);
    closeGame(g);

    e2e::Program program;
    if (resizer::startResizer(program, e2e::freshFolder("resizer home"), options)) {
        e2e::check(e2e::fileExists(e2e::joinPath(program.folder, "sample.bmp")), "the sample is beside the program");
        const e2e::Image expected = resizer::averageStretch(sample, 192, 192);
        e2e::check(settledLook([&]() {
                       return e2e::matchShare(e2e::captureWindow(resizer::control(program, resizer::PREVIEW)), expected,
                                              48) > 0.8;
                   }),
                   "the preview shows the sample");
        if (resizer::choosePicture(program, corpusFile("depth24.bmp"))) {
            e2e::check(e2e::matchShare(e2e::captureWindow(resizer::control(program, resizer::PREVIEW)),
                                       resizer::averageStretch(depth24, 192, 192), 48) > 0.8,
                       "the chosen picture shows");
            e2e::checkText(savedOnce(program), "Snowquill_Image01.bmp", "the save lands beside the program");
        }
        closeResizer(program);
    }
    e2e::checkEqual(static_cast<long long>(snapshot(elsewhere).size()), 0,
                    "nothing was written into the current folder");
}

void accentedFolder(const e2e::Image &fernwick)
{
    e2e::group("started from a folder with spaces and accented letters");
    bool exact = true;
    const std::string name = ansiFromUtf8("Bilder f\xC3\xBCr den Schnee \xC3\xA9t\xC3\xA9 \xC3\xB1", &exact);
    if (!e2e::check(exact, "the ANSI code page spells the folder's name"))
        return;
    game::Game g;
    game::launch(g, name);
    e2e::check(e2e::fileExists(e2e::joinPath(g.program.folder, "BmpImages\\fernwick.bmp")),
               "the default picture is written there");
    e2e::checkEqual(settledCount([&]() { return matchingTiles(g, fernwick); }, game::TILES), game::TILES,
                    "the tiles show it");
    playsOn(g, 6);
    closeGame(g);

    e2e::Program program;
    if (resizer::startResizer(program, e2e::freshFolder(name + " (resizer)"))) {
        e2e::check(e2e::fileExists(e2e::joinPath(program.folder, "sample.bmp")), "the sample is written there");
        e2e::check(settledLook([&]() {
                       return !isDarkSquare(e2e::captureWindow(resizer::control(program, resizer::PREVIEW)));
                   }),
                   "the preview shows the sample");
        if (resizer::choosePicture(program, corpusFile("depth24.bmp")))
            e2e::checkText(savedOnce(program), "Snowquill_Image01.bmp", "a save works there");
        closeResizer(program);
    }
}

void deepFolders(const e2e::Image &fernwick, const e2e::Image &depth24)
{
    const std::string base = e2e::freshFolder("deep");
    if (e2e::windowsPath(base).size() > 180)
        e2e::fatal("the work folder's path is too long for the deep-folder cases: " + base);

    // 236 characters: the program (250), BmpImages\fernwick.bmp (259), sample.bmp (247) and
    // Snowquill_Image01.bmp (258) all still fit in 260.
    e2e::group("started from a folder of 236 characters: every file still fits");
    {
        const std::string folder = folderOfLength(base, 236);
        game::Game g;
        game::launch(g, folder.substr(e2e::windowsPath(e2e::requiredOption("work")).size() + 1));
        e2e::check(e2e::fileExists(e2e::joinPath(folder, "BmpImages\\fernwick.bmp")), "the default picture fits");
        e2e::checkEqual(settledCount([&]() { return matchingTiles(g, fernwick); }, game::TILES), game::TILES,
                        "the tiles show it");
        playsOn(g, 6);
        closeGame(g);
        e2e::Program program;
        if (resizer::startResizer(program, folder + "r")) {
            if (resizer::choosePicture(program, corpusFile("depth24.bmp")))
                e2e::checkText(savedOnce(program), "Snowquill_Image01.bmp", "a save of 258 characters works");
            closeResizer(program);
        }
    }

    // 244 characters: the programs (257, 258) fit, but BmpImages\fernwick.bmp (267) and
    // Snowquill_Image01.bmp (266) do not.
    e2e::group("started from a folder of 244 characters: the programs fit, their pictures don't");
    {
        const std::string folder = folderOfLength(base, 244);
        game::Game g;
        game::launch(g, folder.substr(e2e::windowsPath(e2e::requiredOption("work")).size() + 1));
        e2e::check(!e2e::fileExists(e2e::joinPath(folder, "BmpImages\\fernwick.bmp")),
                   "no default picture, and no part of one");
        e2e::checkEqual(settledCount([&]() { return letteredTiles(g); }, game::TILES), game::TILES, "lettered tiles");
        playsOn(g, 6);
        if (loadInGame(g, corpusFile("depth24.bmp")))
            e2e::checkEqual(settledCount([&]() { return matchingTiles(g, depth24); }, game::TILES), game::TILES,
                            "a chosen picture replaces the letters");
        closeGame(g);
        e2e::Program program;
        const std::string resizerFolder = folderOfLength(base + "\\r", 244);
        if (resizer::startResizer(program, resizerFolder)) {
            resizer::newSoundIds(program);
            if (resizer::choosePicture(program, corpusFile("depth24.bmp"))) {
                resizer::newSoundIds(program);
                refusedSave(program, resizerFolder);
                refusedSave(program, resizerFolder);
            }
            e2e::check(responsive(program.window), "the resizer goes on answering");
            closeResizer(program);
        }
    }
}

void lockedTarget(const e2e::Image &depth24)
{
    e2e::group("the resizer while another program holds the file it would write next");
    e2e::Program program;
    if (!resizer::startResizer(program, e2e::freshFolder("locked")))
        return;
    const std::string held = e2e::joinPath(program.folder, "Snowquill_Image01.bmp");
    const std::string heldText = "held open, unshared, by another program";
    HANDLE lock =
        CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (!e2e::check(lock != INVALID_HANDLE_VALUE, "the other program holds Snowquill_Image01.bmp"))
        return;
    DWORD written = 0;
    WriteFile(lock, heldText.data(), static_cast<DWORD>(heldText.size()), &written, NULL);
    if (resizer::choosePicture(program, corpusFile("depth24.bmp"))) {
        e2e::checkText(savedOnce(program), "Snowquill_Image02.bmp", "the save goes to the next free name");
        e2e::checkText(savedOnce(program), "Snowquill_Image03.bmp", "and the next");
        e2e::Image saved;
        if (e2e::loadBmp(e2e::joinPath(program.folder, "Snowquill_Image02.bmp"), saved))
            e2e::check(e2e::matchShare(saved, resizer::averageStretch(depth24, 192, 192), 48) > 0.8,
                       "it holds the chosen picture");
    }
    CloseHandle(lock);
    std::string contents;
    e2e::readFile(held, contents);
    e2e::checkText(contents, heldText, "the held file is untouched");
    closeResizer(program);
}

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "awkward folders");
    e2e::makeFolders(e2e::windowsPath(e2e::requiredOption("work")));
    const e2e::Image fernwick = reference("fernwick");
    const e2e::Image sample = reference("sample");
    e2e::Image depth24;
    if (!e2e::loadBmp(e2e::joinPath(e2e::windowsPath(e2e::requiredOption("corpus")), "refs\\depth24.bmp"), depth24))
        e2e::fatal("the corpus has no refs\\depth24.bmp");
    readOnlyFolder(depth24);
    otherCurrentFolder(fernwick, sample, depth24);
    accentedFolder(fernwick);
    deepFolders(fernwick, depth24);
    lockedTarget(depth24);
    return e2e::finish();
}
