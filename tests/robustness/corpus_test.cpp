// Every picture of the hostile corpus, in both programs, through their open-file dialogs.
//
// For each file: what the header check says and what the platform's loader does with the
// file on its own (in a throw-away probe process, since the loader may crash); then the
// game loads it, shows it (its pieces where the platform reads it, lettered tiles where it
// doesn't), deals and plays a few moves, and cancels; the resizer previews it (the picture
// or a dark square) and saves exactly what the preview shows. Both programs must answer
// after every file, write nothing but their own files, and end with as many handles as
// they had before the first file. A Markdown table of what was seen is written to --table.
//
// Options: --game, --pixelhem, --corpus (made by make_corpus.py), --probe, --table, and
// --only (a comma-separated list of file names, to run just those).
#include "resizer_steps.h"
#include "robust_support.h"

#include <cmath>
#include <cstdio>

using namespace robust;

namespace {

const int MOVES_PER_FILE = 12;
// Handles a program may hold above its count after the warm-up (the dialog's own
// helpers come and go); a leak of one handle per file would pass this within a few files.
const unsigned long HANDLE_SLACK = 3;

struct Row {
    std::string name, kind, about;
    std::string check;   // "passes" / "refuses"
    std::string loader;  // Wine's LoadImageA alone
    std::string game;    // what the game showed
    std::string resizer; // what the resizer showed and saved
};

// ---- The probe ----

struct Probe {
    bool ran = false;
    bool fits = false;
    std::string raw; // "64x48", "null", or "crashed (exit N)"
};

Probe probe(const Entry &entry)
{
    Probe result;
    const std::string work = e2e::windowsPath(e2e::requiredOption("work"));
    e2e::makeFolders(work);
    static int runs = 0;
    const std::string output = e2e::joinPath(work, "probe" + std::to_string(++runs) + ".txt");
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), NULL, TRUE};
    HANDLE out = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, NULL);
    if (out == INVALID_HANDLE_VALUE)
        return result;
    const std::string exe = e2e::windowsPath(e2e::requiredOption("probe"));
    std::string commandLine = "\"" + exe + "\" \"" + entry.path + "\"";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    const BOOL started =
        CreateProcessA(exe.c_str(), buffer.data(), NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL, NULL, &startup, &process);
    CloseHandle(out);
    if (!started)
        return result;
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 98);
        WaitForSingleObject(process.hProcess, 5000);
        code = 98;
    } else {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::string text;
    e2e::readFile(output, text);
    result.ran = text.find("fit=") != std::string::npos;
    result.fits = text.find("fit=1") != std::string::npos;
    const std::string::size_type raw = text.find("raw=");
    if (code == 98)
        result.raw = "hung";
    else if (code == EXCEPTION_ACCESS_VIOLATION)
        result.raw = "crashed (access violation)";
    else if (code != 0 || raw == std::string::npos)
        result.raw = "crashed (exit " + std::to_string(code) + ")";
    else
        result.raw = text.substr(raw + 4, text.find_first_of("\r\n", raw) - raw - 4);
    return result;
}

bool platformReads(const Probe &p)
{
    return p.raw != "null" && p.raw.find("crashed") == std::string::npos && p.raw != "hung";
}

// ---- The open-file dialog ----

// What became of a choice in the dialog.
enum Choice { CHOSEN, STAYED_OPEN, NO_DIALOG };

// Presses the button that opens the dialog, types the path and OK. A path the dialog
// does not take (a folder, a path too long) leaves it open: then any message box it
// shows is closed and the dialog cancelled.
int acceptedDialogs = 0; // dialogs closed with a file chosen, in the program under test

Choice choose(e2e::Program &program, HWND button, const std::string &path, std::string &note)
{
    e2e::clickPosted(button);
    HWND dialog = e2e::waitForDialog(program.process.dwProcessId, 8000);
    if (dialog == NULL)
        return NO_DIALOG;
    if (e2e::chooseFile(dialog, path, 3000)) {
        responsive(program.window);
        ++acceptedDialogs;
        return CHOSEN;
    }
    // Still open: close whatever box it raised, then cancel it.
    for (int round = 0; round < 5; ++round) {
        for (HWND window : e2e::topWindows(program.process.dwProcessId, "#32770"))
            if (window != dialog && IsWindowVisible(window)) {
                const e2e::MessageBoxView box = e2e::readMessageBox(window);
                note = "the dialog said \"" + box.text + "\"";
                PostMessageA(window, WM_COMMAND, IDOK, 0);
                e2e::waitFor([&]() { return !IsWindow(window); }, 3000);
            }
        if (!IsWindow(dialog) || !IsWindowVisible(dialog))
            break;
        if (e2e::cancelDialog(dialog, 2000))
            break;
    }
    responsive(program.window);
    return STAYED_OPEN;
}

// Wine's open-file dialog keeps one handle (object type 19 in its handle list) each time
// it closes with a file chosen, also when the program does nothing with the file. The
// test measures that cost first and counts it apart from the programs' own handles.
struct HandleBudget {
    unsigned long start = 0;
    int dialogsAtStart = 0;
    double perDialog = 0.0;
    unsigned long allowed() const
    {
        return start + HANDLE_SLACK +
               static_cast<unsigned long>(std::lround(perDialog * (acceptedDialogs - dialogsAtStart)));
    }
};

HandleBudget measureDialogCost(e2e::Program &program, HWND button, const std::string &path)
{
    HandleBudget budget;
    std::string note;
    const unsigned long before = robust::counters(program).handles;
    const int rounds = 4;
    for (int i = 0; i < rounds; ++i)
        choose(program, button, path, note);
    const unsigned long after = robust::counters(program).handles;
    budget.perDialog = after > before ? static_cast<double>(after - before) / rounds : 0.0;
    budget.start = after;
    budget.dialogsAtStart = acceptedDialogs;
    std::printf("the open-file dialog's own cost: %.2f handles a chosen file (%lu -> %lu over %d)\n", budget.perDialog,
                before, after, rounds);
    return budget;
}

e2e::Image loadReference(const Entry &entry)
{
    e2e::Image picture;
    if (!entry.refPath.empty() && !e2e::loadBmp(entry.refPath, picture))
        e2e::check(false, "the reference picture of " + entry.name + " could not be read");
    return picture;
}

uint32_t meanColour(const e2e::Image &image)
{
    unsigned long long red = 0, green = 0, blue = 0;
    for (uint32_t pixel : image.pixels) {
        red += (pixel >> 16) & 0xFF;
        green += (pixel >> 8) & 0xFF;
        blue += pixel & 0xFF;
    }
    const unsigned long long count = image.pixels.empty() ? 1 : image.pixels.size();
    return static_cast<uint32_t>(((red / count) << 16) | ((green / count) << 8) | (blue / count));
}

// What a window shows once it has stopped changing: a dialog that just closed may still be
// on the screen for a moment, and what it covered is painted again after it goes.
e2e::Image settledView(HWND window)
{
    e2e::Image last = e2e::captureWindow(window);
    e2e::waitFor(
        [&]() {
            Sleep(60);
            e2e::Image now = e2e::captureWindow(window);
            const bool same = e2e::matchShare(now, last, 0) == 1.0;
            last = now;
            return same;
        },
        3000);
    return last;
}

// ---- The game ----

struct BoardLook {
    int lettered = 0;
    int matching = 0; // tiles showing their piece of the reference
    bool previewLight = false;
    std::vector<e2e::Image> tiles;
};

BoardLook lookAtBoard(const game::Game &g, const e2e::Image &reference)
{
    BoardLook look;
    look.tiles.push_back(e2e::Image());
    for (int tile = 1; tile <= game::TILES; ++tile) {
        const e2e::Image view = tile == 1 ? settledView(g.tile[tile]) : game::view(g.tile[tile]);
        look.tiles.push_back(view);
        if (isLetteredTile(view))
            ++look.lettered;
        if (reference.width >= 4 && reference.height >= 4 &&
            e2e::matchShare(view, game::expectedPiece(reference, tile), 40) > 0.8)
            ++look.matching;
    }
    look.previewLight = isLightSquare(game::view(g.preview));
    return look;
}

bool sameBoard(const BoardLook &a, const BoardLook &b)
{
    for (int tile = 1; tile <= game::TILES; ++tile)
        if (e2e::matchShare(a.tiles[tile], b.tiles[tile], 4) < 0.99)
            return false;
    return true;
}

// New Game, then moves of tiles next to the empty slot, checked by the moves field; then
// Cancel. Returns the moves made.
int playSome(game::Game &g, int seed)
{
    if (!e2e::check(e2e::click(g.newGame), "New Game answers"))
        return 0;
    e2e::checkText(game::movesField(g), "0", "New Game starts the count at 0");
    int made = 0;
    for (int move = 0; move < MOVES_PER_FILE; ++move) {
        int slots[game::TILES + 1];
        game::readSlots(g, slots);
        const int empty = game::emptySlot(slots);
        if (!e2e::check(empty != 0, "the board reads as fifteen tiles and one empty slot"))
            break;
        std::vector<int> neighbours;
        for (int tile = 1; tile <= game::TILES; ++tile) {
            const int dr = (slots[tile] - 1) / 4 - (empty - 1) / 4;
            const int dc = (slots[tile] - 1) % 4 - (empty - 1) % 4;
            if (dr * dr + dc * dc == 1)
                neighbours.push_back(tile);
        }
        const int tile = neighbours[static_cast<size_t>(seed + move) % neighbours.size()];
        if (!e2e::check(e2e::click(g.tile[tile]), "a tile click answers"))
            break;
        ++made;
        const std::string result = game::resultField(g);
        if (result == "Solved" || result == "Unsolvable")
            return made; // the game ended by itself; nothing to cancel
        e2e::checkText(game::movesField(g), std::to_string(made), "each move counts once");
        int after[game::TILES + 1];
        game::readSlots(g, after);
        e2e::checkEqual(after[tile], empty, std::string("tile ") + game::tileLetter(tile) + " moved to the empty slot");
    }
    e2e::check(e2e::click(g.cancel), "Cancel answers");
    e2e::checkText(game::resultField(g), "Canceled", "Cancel ends the game");
    return made;
}

std::string gameLook(const BoardLook &look)
{
    if (look.lettered == game::TILES)
        return std::string("lettered tiles, ") + (look.previewLight ? "light preview" : "preview shows the picture");
    if (look.lettered == 0)
        return std::string("picture on the tiles") + (look.matching == game::TILES ? " (pieces match)" : "") +
               (look.previewLight ? ", light preview" : "");
    return std::to_string(look.lettered) + " lettered tiles of 15";
}

// A path longer than 260 characters typed into Wine's open-file dialog crashes the dialog
// itself (comdlg32, FILEDLG95_OnOpen) inside the calling program, before the program gets
// any answer; no program of ours can step in there. Such entries are listed, not typed.
const char *const TOO_LONG_NOTE = "not typed: Wine's open-file dialog itself crashes on a path over 260 characters";

void gameFile(game::Game &g, const Entry &entry, const Probe &p, Row &row, int index)
{
    if (entry.kind == "toolong") {
        row.game = TOO_LONG_NOTE;
        return;
    }
    e2e::context("game, " + entry.name);
    const BoardLook before = lookAtBoard(g, e2e::Image());
    const e2e::Image reference = loadReference(entry);
    std::string note;
    const Choice choice = choose(g.program, g.loadBmp, entry.path, note);
    if (!e2e::check(choice != NO_DIALOG, "Load .Bmp opens the dialog")) {
        row.game = "no dialog";
        return;
    }
    if (!e2e::check(responsive(g.window) && e2e::isRunning(g.program), "the game answers after the dialog")) {
        row.game = "**stopped answering**";
        return;
    }
    BoardLook look = lookAtBoard(g, reference);
    if (entry.kind == "folder") {
        e2e::checkEqual(choice, STAYED_OPEN, "the dialog does not take it");
        // What the dialog covered is painted again shortly after it closes.
        e2e::check(e2e::waitFor([&]() { return sameBoard(before, lookAtBoard(g, reference)); }, 3000),
                   "the board still shows the picture it showed before");
        row.game = "not taken by the dialog; picture unchanged" + (note.empty() ? "" : " (" + note + ")");
        return;
    }
    e2e::checkEqual(choice, CHOSEN, "the dialog takes the file");
    const bool reads = p.fits && platformReads(p);
    if (entry.kind == "valid") {
        if (!e2e::checkEqual(look.matching, game::TILES, "every tile shows its own piece of the picture")) {
            const std::string work = e2e::windowsPath(e2e::requiredOption("work"));
            e2e::saveBmp(e2e::joinPath(work, entry.name + ".tileA.bmp"), look.tiles[1]);
            e2e::saveBmp(e2e::joinPath(work, entry.name + ".expectedA.bmp"), game::expectedPiece(reference, 1));
        }
        e2e::check(!look.previewLight, "the preview shows the picture");
    } else if (entry.kind == "tiny") {
        e2e::checkEqual(look.lettered, game::TILES, "pieces of no size: every tile is a lettered tile");
        e2e::check(!look.previewLight, "the preview still shows the picture");
    } else if (entry.kind == "broken") {
        e2e::checkEqual(look.lettered, game::TILES, "every tile is a lettered tile");
        e2e::check(look.previewLight, "the preview is a light square");
    } else { // either: as the platform reads it
        e2e::checkEqual(look.lettered, reads ? 0 : game::TILES,
                        std::string("tiles drawn ") + (reads ? "from the picture, which the platform reads"
                                                             : "as lettered tiles: the picture is not read"));
        e2e::checkEqual(look.previewLight, !reads, "the preview agrees with the tiles");
    }
    const int made = playSome(g, index);
    row.game = gameLook(look) + "; " + std::to_string(made) + " moves played";
    // The moved tiles still look as they did.
    const BoardLook later = lookAtBoard(g, reference);
    e2e::checkEqual(later.lettered, look.lettered, "moved tiles keep their look");
}

// ---- The resizer ----

void resizerFile(e2e::Program &program, const Entry &entry, const Probe &p, Row &row)
{
    if (entry.kind == "toolong") {
        row.resizer = TOO_LONG_NOTE;
        return;
    }
    e2e::context("resizer, " + entry.name);
    HWND preview = resizer::control(program, resizer::PREVIEW);
    const e2e::Image before = e2e::captureWindow(preview);
    const e2e::Image reference = loadReference(entry);
    std::string note;
    const Choice choice = choose(program, resizer::control(program, resizer::GET_PREVIEW), entry.path, note);
    if (!e2e::check(choice != NO_DIALOG, "Get Preview opens the dialog")) {
        row.resizer = "no dialog";
        return;
    }
    if (!e2e::check(responsive(program.window) && e2e::isRunning(program), "the resizer answers after the dialog")) {
        row.resizer = "**stopped answering**";
        return;
    }
    const e2e::Image shown = settledView(preview);
    if (entry.kind == "folder") {
        e2e::checkEqual(choice, STAYED_OPEN, "the dialog does not take it");
        e2e::check(e2e::waitFor([&]() { return e2e::matchShare(e2e::captureWindow(preview), before, 4) > 0.99; }, 3000),
                   "the preview is unchanged");
        row.resizer = "not taken by the dialog; preview unchanged";
        return;
    }
    e2e::checkEqual(choice, CHOSEN, "the dialog takes the file");
    const bool dark = isDarkSquare(shown);
    const bool reads = p.fits && platformReads(p);
    if (entry.kind == "valid") {
        e2e::check(!dark, "the preview shows the picture");
        e2e::check(e2e::matchShare(shown, resizer::averageStretch(reference, 192, 192), 48) > 0.8,
                   "the preview is the picture stretched to 192 x 192");
    } else if (entry.kind == "tiny") {
        // A few pixels blown up to 192 x 192: the smoothing blends neighbours into one
        // another (each platform in its own way), so only the picture's mean colour is kept.
        e2e::check(!dark, "the preview shows the picture");
        e2e::check(e2e::channelDistance(meanColour(shown), meanColour(reference)) <= 32,
                   "the preview has the picture's colours on the whole");
    } else if (entry.kind == "broken") {
        e2e::check(dark, "the preview is an empty dark square");
    } else if (!reads) {
        e2e::check(dark, "a picture the platform does not read gives the dark square");
    }

    const std::vector<std::string> savedBefore = resizer::savedNames(program.folder);
    e2e::check(e2e::click(resizer::control(program, resizer::SAVE_BMP), 10000), "Save .Bmp answers");
    const std::vector<std::string> savedAfter = resizer::savedNames(program.folder);
    std::string saved;
    if (e2e::checkEqual(static_cast<long long>(savedAfter.size()), static_cast<long long>(savedBefore.size()) + 1,
                        "one more saved picture")) {
        for (const std::string &name : savedAfter)
            if (std::find(savedBefore.begin(), savedBefore.end(), name) == savedBefore.end())
                saved = name;
        std::string contents;
        e2e::readFile(e2e::joinPath(program.folder, saved), contents);
        e2e::checkEqual(static_cast<long long>(contents.size()), resizer::SAVED_FILE_SIZE, saved + " is whole");
        e2e::Image file;
        if (e2e::check(e2e::loadBmp(e2e::joinPath(program.folder, saved), file), saved + " reads back"))
            e2e::check(e2e::matchShare(file, shown, 8) > 0.98, saved + " holds what the preview shows");
    }
    row.resizer = std::string(dark ? "dark square" : "picture") + "; saved " + (saved.empty() ? "nothing" : saved);
}

// ---- The table ----

std::string cell(std::string text)
{
    for (char &c : text)
        if (c == '|')
            c = '/';
    return text;
}

void writeTable(const std::vector<Row> &rows, const std::string &path)
{
    std::string table = "| File | What it is | Header check | Wine's LoadImageA alone | Game shows | Resizer shows |\n"
                        "|---|---|---|---|---|---|\n";
    for (const Row &row : rows)
        table += "| " + cell(row.name) + " | " + cell(row.about) + " | " + row.check + " | " + cell(row.loader) +
                 " | " + cell(row.game) + " | " + cell(row.resizer) + " |\n";
    std::printf("\n%s\n", table.c_str());
    if (!path.empty())
        e2e::writeFile(path, table);
}

} // namespace

int main(int argc, char **argv)
{
    e2e::init(argc, argv, "hostile pictures in both programs");
    const std::string corpus = e2e::requiredOption("corpus");
    std::vector<Entry> entries = readManifest(corpus);
    if (entries.size() < 40)
        e2e::fatal("the corpus manifest lists only " + std::to_string(entries.size()) + " entries");
    // --only=a.bmp,b.bmp: just those entries (and the warm-up picture), when looking into one.
    const std::string only = e2e::option("only");
    if (!only.empty()) {
        std::vector<Entry> chosen;
        for (const Entry &entry : entries)
            if (entry.name == "depth24.bmp" || ("," + only + ",").find("," + entry.name + ",") != std::string::npos)
                chosen.push_back(entry);
        entries = chosen;
    }
    const Snapshot corpusBefore = snapshot(corpus);
    std::vector<Row> rows(entries.size());

    e2e::group("what the header check and the platform's loader make of each file");
    std::vector<Probe> probes(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry &entry = entries[i];
        e2e::context(entry.name);
        rows[i].name = entry.name;
        rows[i].kind = entry.kind;
        rows[i].about = entry.about;
        e2e::check(entry.representable, "the ANSI code page spells the path");
        if (entry.kind == "folder" || entry.kind == "toolong") {
            rows[i].check = "-";
            rows[i].loader = "-";
            continue;
        }
        probes[i] = probe(entry);
        e2e::check(probes[i].ran, "the probe ran");
        rows[i].check = probes[i].fits ? "passes" : "refuses";
        rows[i].loader = probes[i].raw;
        if (entry.kind == "valid" || entry.kind == "tiny") {
            e2e::check(probes[i].fits, "the header check lets a well-formed picture through");
            e2e::check(platformReads(probes[i]), "the platform reads a well-formed picture");
        } else if (entry.kind == "broken") {
            e2e::check(!probes[i].fits, "the header check refuses a damaged file");
        }
    }
    e2e::context("");

    // ---- The game ----
    e2e::group("the game loads and plays every file");
    game::Game g;
    game::launch(g, "game");
    const Entry *warm = nullptr;
    for (const Entry &entry : entries)
        if (entry.name == "depth24.bmp")
            warm = &entry;
    if (warm == nullptr)
        e2e::fatal("the corpus has no depth24.bmp");
    // Warm-up: the dialog, a game and a cancel, so that what the platform keeps after its
    // first use is counted in the baseline.
    Row scratch;
    gameFile(g, *warm, probe(*warm), scratch, 0);
    acceptedDialogs = 0;
    const HandleBudget gameBudget = measureDialogCost(g.program, g.loadBmp, warm->path);
    const Counters gameStart = counters(g.program);
    std::printf("game after warm-up: %s\n", describe(gameStart).c_str());
    unsigned long gameMost = gameStart.handles;
    for (size_t i = 0; i < entries.size(); ++i) {
        gameFile(g, entries[i], probes[i], rows[i], static_cast<int>(i));
        if (!e2e::isRunning(g.program))
            e2e::fatal("the game is gone after " + entries[i].name);
        const Counters now = counters(g.program);
        gameMost = std::max(gameMost, now.handles);
        e2e::check(now.handles <= gameBudget.allowed(), "handles back where they were: " + std::to_string(now.handles) +
                                                            ", allowed " + std::to_string(gameBudget.allowed()) +
                                                            " with the dialog's own");
    }
    e2e::context("");
    const Counters gameEnd = counters(g.program);
    std::printf("game after %zu files: %s (most handles seen %lu)\n", entries.size(), describe(gameEnd).c_str(),
                gameMost);
    std::printf("game: %d files chosen in the dialog; handles allowed for the dialog's own %lu\n", acceptedDialogs,
                gameBudget.allowed());
    e2e::check(gameEnd.handles <= gameBudget.allowed(), "the game's handle count is back");
    e2e::check(gameEnd.gdi == 0 || gameEnd.gdi <= gameStart.gdi + 2, "GDI objects back (0 = not counted by Wine)");
    {
        const Snapshot folder = snapshot(g.program.folder);
        for (const auto &item : folder)
            e2e::check(item.first == "snowquill.exe" || item.first == "winmm.dll" || item.first == "sounds.log" ||
                           item.first == "BmpImages\\" || item.first == "BmpImages\\fernwick.bmp",
                       "only the game's own files in its folder: " + item.first);
    }
    e2e::newSounds(g.program); // the sounds of the games were not the point here
    game::closeAndCheckExit(g);

    // ---- The resizer ----
    e2e::group("the resizer previews and saves every file");
    e2e::Program program;
    if (!resizer::startResizer(program, e2e::freshFolder("resizer")))
        return e2e::finish();
    Row scratchResizer;
    resizerFile(program, *warm, probe(*warm), scratchResizer);
    acceptedDialogs = 0;
    const HandleBudget resizerBudget =
        measureDialogCost(program, resizer::control(program, resizer::GET_PREVIEW), warm->path);
    const Counters resizerStart = counters(program);
    std::printf("resizer after warm-up: %s\n", describe(resizerStart).c_str());
    for (size_t i = 0; i < entries.size(); ++i) {
        resizerFile(program, entries[i], probes[i], rows[i]);
        if (!e2e::isRunning(program))
            e2e::fatal("the resizer is gone after " + entries[i].name);
        const Counters now = counters(program);
        e2e::check(now.handles <= resizerBudget.allowed(),
                   "handles back where they were: " + std::to_string(now.handles) + ", allowed " +
                       std::to_string(resizerBudget.allowed()) + " with the dialog's own");
    }
    e2e::context("");
    const Counters resizerEnd = counters(program);
    std::printf("resizer after %zu files: %s\n", entries.size(), describe(resizerEnd).c_str());
    e2e::check(resizerEnd.handles <= resizerBudget.allowed(), "the resizer's handle count is back");
    {
        const Snapshot folder = snapshot(program.folder);
        for (const auto &item : folder)
            e2e::check(item.first == "pixelhem.exe" || item.first == "winmm.dll" || item.first == "sounds.log" ||
                           item.first == "sample.bmp" || item.first.rfind("Snowquill_Image0", 0) == 0,
                       "only the resizer's own files in its folder: " + item.first);
    }
    e2e::check(e2e::click(resizer::control(program, resizer::CLOSE)), "Close answers");
    e2e::checkEqual(e2e::waitForExit(program, 10000), 0, "the resizer exits with code 0");

    e2e::group("nothing in the corpus was written or removed");
    const std::string changed = compare(corpusBefore, snapshot(corpus));
    e2e::check(changed.empty(), "the corpus folder is as it was:\n" + changed);

    writeTable(rows, e2e::option("table"));
    return e2e::finish();
}
