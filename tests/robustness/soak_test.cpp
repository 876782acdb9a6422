// A long session in each program, watching the process from outside: its handles and
// working set at the start, the middle and the end, which must stay flat.
//
// The game: at least 200 whole games and 10,000 moves (games finished by the test player,
// and games cancelled after some moves), with Load .Bmp between games (good and damaged
// pictures in turn), one game run out by 3,600 timer ticks to "Time's up!", and more than
// 70,000 owner draws: whole-window repaints forced from here with RedrawWindow, which
// under Wine paints another process's windows before it returns. The draws are counted
// from outside too, by the opens of the picture file (drawwatch.py), since every tile and
// preview drawn reads the file again.
//
// The resizer: thousands of preview repaints, hundreds of saves, Get Preview in between.
//
// Options: --game, --pixelhem, --corpus, --opens (the log of drawwatch.py) and
// --pictures (the folder drawwatch.py watches).
#include "resizer_steps.h"
#include "robust_support.h"
#include "solver.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

using namespace robust;

namespace {

const int GAMES = 200;
const int MOVES = 10000;
const int TICKS = 3600;
const int REPAINTS_PER_STAGE = 1100; // three stages: 3,300 whole-window repaints
const int OWNER_DRAWN_CONTROLS = 22; // fifteen tiles, the preview and six bitmap buttons
const int PICTURE_DRAWS_PER_REPAINT = 16;
const int PREVIEW_REPAINTS = 6000;
const int SAVES = 300;
// How far the working set may rise from the middle of the run to its end: a leak of a
// bitmap per draw would add megabytes; the platform's own caches settle early.
const double WORKING_SET_GROWTH_MB = 8.0;
const unsigned long HANDLE_SLACK = 3;

// Opens of a file of the watched folder counted so far by drawwatch.py.
long opensOf(const std::string &name)
{
    const std::string log = e2e::option("opens");
    Sleep(400); // the watcher writes its log five times a second
    std::string contents;
    if (log.empty() || !e2e::readFile(log, contents))
        return -1;
    std::istringstream lines(contents);
    std::string file;
    long count = 0;
    while (lines >> file >> count)
        if (file == name)
            return count;
    return 0;
}

bool repaintWindow(HWND window)
{
    return RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW) != FALSE;
}

struct Stage {
    const char *name;
    Counters counters;
};

void print(const char *program, const Stage &stage)
{
    std::printf("%s %-6s %s\n", program, stage.name, describe(stage.counters).c_str());
    std::fflush(stdout);
}

double megabytes(unsigned long long bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void checkFlat(const char *program, const Stage &start, const Stage &middle, const Stage &end, int dialogs,
               double handlesPerDialog)
{
    const unsigned long allowed =
        start.counters.handles + HANDLE_SLACK + static_cast<unsigned long>(std::lround(handlesPerDialog * dialogs));
    e2e::check(end.counters.handles <= allowed, std::string(program) + ": handles " +
                                                    std::to_string(end.counters.handles) + " at the end, " +
                                                    std::to_string(start.counters.handles) + " at the start (allowed " +
                                                    std::to_string(allowed) + " with the dialog's own)");
    const double growth = megabytes(end.counters.workingSet) - megabytes(middle.counters.workingSet);
    e2e::check(growth <= WORKING_SET_GROWTH_MB, std::string(program) + ": working set grew by " +
                                                    std::to_string(growth) + " MB from the middle to the end");
}

// ---- The game ----

struct GameSoak {
    game::Game g;
    int games = 0;
    int moves = 0;
    int dialogs = 0;
    long repaints = 0;
    std::string picture; // the file name the game draws from now
};

void loadPicture(GameSoak &s, const std::string &folder, const std::string &name)
{
    e2e::clickPosted(s.g.loadBmp);
    HWND dialog = e2e::waitForDialog(s.g.program.process.dwProcessId);
    if (e2e::check(dialog != NULL && e2e::chooseFile(dialog, e2e::joinPath(folder, name)) && responsive(s.g.window),
                   "Load .Bmp takes " + name)) {
        ++s.dialogs;
        s.picture = name;
    }
}

// One whole game. Finished by the test player, or cancelled after some single steps.
void playGame(GameSoak &s, bool finish)
{
    if (!e2e::check(e2e::click(s.g.newGame), "New Game answers"))
        e2e::fatal("the game stopped answering");
    int slots[game::TILES + 1];
    game::readSlots(s.g, slots);
    int made = 0;
    if (finish) {
        int position[16];
        for (int tile = 0; tile <= game::TILES; ++tile)
            position[tile] = slots[tile];
        const std::vector<int> clicks = solveClicks(position, true);
        for (int tile : clicks) {
            if (!e2e::click(s.g.tile[tile]))
                e2e::fatal("a tile click went unanswered");
            ++made;
        }
        const std::string result = game::resultField(s.g);
        e2e::check(result == "Solved" || result == "Unsolvable", "the game ends by itself: " + result);
    } else {
        const int steps = 40;
        for (int step = 0; step < steps; ++step) {
            const int empty = game::emptySlot(slots);
            int chosen = 0;
            for (int tile = 1; tile <= game::TILES; ++tile) {
                const int dr = (slots[tile] - 1) / 4 - (empty - 1) / 4;
                const int dc = (slots[tile] - 1) % 4 - (empty - 1) % 4;
                if (dr * dr + dc * dc == 1 && (chosen == 0 || (step + tile) % 3 == 0))
                    chosen = tile;
            }
            if (!e2e::click(s.g.tile[chosen]))
                e2e::fatal("a tile click went unanswered");
            slots[chosen] = empty;
            ++made;
        }
        e2e::click(s.g.cancel);
        e2e::checkText(game::resultField(s.g), "Canceled", "Cancel ends the game");
    }
    e2e::checkText(game::movesField(s.g), std::to_string(made), "every move counted once");
    s.moves += made;
    ++s.games;
}

void repaintBoard(GameSoak &s, int count)
{
    const long before = opensOf(s.picture);
    const DWORD started = e2e::now();
    for (int i = 0; i < count; ++i)
        if (!repaintWindow(s.g.window))
            e2e::fatal("RedrawWindow failed");
    const DWORD took = e2e::now() - started;
    s.repaints += count;
    const long opened = opensOf(s.picture) - before;
    std::printf("  %d whole-window repaints in %lu ms (%.2f ms each); %s opened %ld times meanwhile\n", count,
                static_cast<unsigned long>(took), static_cast<double>(took) / count, s.picture.c_str(), opened);
    if (before >= 0)
        e2e::check(opened >= static_cast<long>(count) * PICTURE_DRAWS_PER_REPAINT,
                   "the picture was read at least once for every tile and preview drawn (" + std::to_string(opened) +
                       " opens for " + std::to_string(count * PICTURE_DRAWS_PER_REPAINT) + " draws)");
}

void soakGame(const std::string &pictures)
{
    e2e::group("the game: a long session");
    GameSoak s;
    game::launch(s.g, "game");
    const char *const rotation[] = {"depth24.bmp", "empty.bmp", "rle8.bmp", "trunc_pixels.bmp", "depth8.bmp"};
    loadPicture(s, pictures, "depth24.bmp");
    playGame(s, true);
    s.games = 0;
    s.moves = 0;
    const int warmDialogs = s.dialogs;
    Stage start = {"start", counters(s.g.program)};
    print("game", start);

    const DWORD began = e2e::now();
    repaintBoard(s, REPAINTS_PER_STAGE);
    Stage middle = {"middle", Counters()};
    bool ticked = false;
    while (s.games < GAMES || s.moves < MOVES) {
        if (s.games % 20 == 19)
            loadPicture(s, pictures, rotation[(s.games / 20) % 5]);
        playGame(s, s.games % 3 != 1);
        if (s.games == GAMES / 2 && !ticked) {
            ticked = true;
            e2e::check(e2e::click(s.g.newGame), "New Game for the clock");
            e2e::check(e2e::sendTimer(s.g.window, 1, TICKS), "3,600 ticks answered");
            e2e::checkText(game::resultField(s.g), "Time's up!", "the hour runs out");
            ++s.games;
            repaintBoard(s, REPAINTS_PER_STAGE);
            middle.counters = counters(s.g.program);
            print("game", middle);
            std::printf("  so far: %d games, %d moves, %ld repaints, %d dialogs, %lu s\n", s.games, s.moves, s.repaints,
                        s.dialogs - warmDialogs, static_cast<unsigned long>((e2e::now() - began) / 1000));
        }
    }
    loadPicture(s, pictures, "depth24.bmp");
    repaintBoard(s, REPAINTS_PER_STAGE);
    Stage end = {"end", counters(s.g.program)};
    print("game", end);
    std::printf("  in all: %d games, %d moves, %d timer ticks, %ld whole-window repaints (%ld owner draws, %ld of "
                "them from the picture file), %d pictures loaded, %lu s\n",
                s.games, s.moves, TICKS, s.repaints, s.repaints * OWNER_DRAWN_CONTROLS,
                s.repaints * PICTURE_DRAWS_PER_REPAINT, s.dialogs - warmDialogs,
                static_cast<unsigned long>((e2e::now() - began) / 1000));
    e2e::check(s.games >= GAMES && s.moves >= MOVES, "the whole session was played");
    e2e::check(s.repaints * OWNER_DRAWN_CONTROLS > 70000, "more than 70,000 owner draws");
    // Wine's dialog keeps about one handle a chosen file (measured in the corpus test).
    checkFlat("game", start, middle, end, s.dialogs - warmDialogs, 1.0);
    e2e::newSounds(s.g.program); // the session's sounds are the other tests' concern
    game::closeAndCheckExit(s.g);
}

// ---- The resizer ----

void soakResizer(const std::string &pictures)
{
    e2e::group("the resizer: a long session");
    e2e::Program program;
    if (!resizer::startResizer(program, e2e::freshFolder("resizer")))
        return;
    HWND preview = resizer::control(program, resizer::PREVIEW);
    int dialogs = 0;
    auto choose = [&](const char *name) {
        if (resizer::choosePicture(program, e2e::joinPath(pictures, name)))
            ++dialogs;
    };
    choose("depth24.bmp");
    const int warmDialogs = dialogs;
    Stage start = {"start", counters(program)};
    print("resizer", start);
    const char *const rotation[] = {"depth24.bmp", "empty.bmp", "depth8.bmp", "rle4.bmp"};
    int saves = 0;
    long repaints = 0;
    Stage middle = {"middle", Counters()};
    const DWORD began = e2e::now();
    for (int round = 0; round < 20; ++round) {
        choose(rotation[round % 4]);
        for (int i = 0; i < PREVIEW_REPAINTS / 20; ++i, ++repaints)
            if (!repaintWindow(preview))
                e2e::fatal("RedrawWindow failed");
        for (int i = 0; i < SAVES / 20; ++i, ++saves)
            if (!e2e::click(resizer::control(program, resizer::SAVE_BMP), 10000))
                e2e::fatal("Save .Bmp went unanswered");
        if (round == 9) {
            middle.counters = counters(program);
            print("resizer", middle);
        }
    }
    Stage end = {"end", counters(program)};
    print("resizer", end);
    std::printf("  in all: %ld preview repaints, %d saves, %d pictures chosen, %lu s\n", repaints, saves,
                dialogs - warmDialogs, static_cast<unsigned long>((e2e::now() - began) / 1000));
    e2e::checkEqual(static_cast<long long>(resizer::savedNames(program.folder).size()), SAVES, "every save is a file");
    checkFlat("resizer", start, middle, end, dialogs - warmDialogs, 1.0);
    e2e::check(e2e::click(resizer::control(program, resizer::CLOSE)), "Close answers");
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "the resizer exits with code 0");
    // The saved pictures are many: remove them again.
    e2e::removeTree(program.folder);
}

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "a long session in each program");
    // The pictures come from the corpus into the folder that drawwatch.py watches.
    const std::string pictures = e2e::windowsPath(e2e::requiredOption("pictures"));
    e2e::makeFolders(pictures);
    const std::string corpus = e2e::windowsPath(e2e::requiredOption("corpus"));
    for (const char *name : {"depth24.bmp", "depth8.bmp", "empty.bmp", "rle8.bmp", "rle4.bmp", "trunc_pixels.bmp"})
        if (!e2e::copyFile(e2e::joinPath(corpus, name), e2e::joinPath(pictures, name)))
            e2e::fatal(std::string("could not copy ") + name + " from the corpus");
    soakGame(pictures);
    soakResizer(pictures);
    return e2e::finish();
}
