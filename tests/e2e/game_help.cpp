// Help: without its help file the game shows its error box; with it, the system's viewer
// for .chm files is started with the file's full path, and the game does not wait for it.
// The viewer here is helprecorder.exe, registered for .chm files while this test runs.
#include "game_support.h"

#include <cctype>

using namespace e2e;
using namespace game;

namespace {

const char *const HELP_CLASS = "SnowquillTests.HelpRecorder";

std::string lower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool readDefault(const char *key, std::string &value)
{
    char buffer[1024] = {};
    LONG size = sizeof(buffer);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key, buffer, &size) != ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

bool writeDefault(const std::string &key, const std::string &value)
{
    HKEY handle = NULL;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &handle, NULL) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(handle, NULL, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

void checkMissingHelp()
{
    group("no help file: the error box");
    Game game;
    launch(game, "nohelp");
    clickPosted(game.help);
    HWND box = waitForDialog(game.program.process.dwProcessId);
    if (!check(box != NULL, "a message box appears")) {
        closeAndCheckExit(game);
        return;
    }
    expectSounds(game, {IDW_CLICK}, "the help button");
    const MessageBoxView view = readMessageBox(box);
    checkText(view.title, "Error - Snowquill", "title of the box");
    checkText(view.text, "Help file could not be opened...", "text of the box");
    check(view.buttonIds.size() == 1 && view.buttonIds[0] == IDOK, "the box has one button, OK");
    check(GetWindow(box, GW_OWNER) == NULL, "the box has no owner window");

    // The game window stays usable while the box is shown.
    check(click(game.newGame), "New Game is answered while the box is shown");
    expectSounds(game, {IDW_NEWGAME}, "New Game while the box is shown");

    HWND ok = child(box, IDOK);
    if (ok != NULL)
        click(ok);
    check(waitFor([&]() { return !IsWindow(box); }, 5000), "OK closes the box");
    check(topWindows(game.program.process.dwProcessId, "#32770").empty(), "no other box follows");
    checkText(resultField(game), " ", "the game started meanwhile still runs");
    click(game.cancel);
    expectSounds(game, {IDW_NEWGAME}, "Cancel");
    closeAndCheckExit(game);
}

void checkHelpViewer()
{
    group("with the help file: the viewer starts");
    const std::string viewerFolder = freshFolder("viewer");
    const std::string viewer = joinPath(viewerFolder, "helprecorder.exe");
    const std::string log = joinPath(viewerFolder, "help.log");
    if (!copyFile(requiredOption("helprecorder"), viewer))
        fatal("could not copy the stand-in help viewer");

    std::string oldClass;
    const bool hadClass = readDefault(".chm", oldClass);
    if (!writeDefault(".chm", HELP_CLASS) ||
        !writeDefault(std::string(HELP_CLASS) + "\\shell\\open\\command", "\"" + viewer + "\" \"%1\""))
        fatal("could not register the stand-in help viewer for .chm files");

    const std::string gameFolder = freshFolder("withhelp");
    writeFile(joinPath(gameFolder, "snowquill-help.chm"), "ITSF stand-in help file");
    StartOptions options;
    // Started from another folder: the help file is looked for beside the program.
    options.currentDir = freshFolder("elsewhere");
    options.environment.push_back({"SNOWQUILL_HELP_LOG", log});
    options.environment.push_back({"SNOWQUILL_HELP_HOLD_MS", "4000"});
    Game game;
    launch(game, "withhelp", options, true);

    check(click(game.help, 3000), "the help button returns without waiting for the viewer");
    expectSounds(game, {IDW_CLICK}, "the help button");
    std::string started;
    check(waitFor([&]() { return readFile(log, started) && started.find('\n') != std::string::npos; }, 10000),
          "the viewer registered for .chm files starts");
    const std::string expectedPath = joinPath(game.program.folder, "snowquill-help.chm");
    check(lower(started).find(lower(expectedPath)) != std::string::npos,
          "the viewer is given the help file beside the program: got " + started + " expected " + expectedPath);
    // The viewer is still open: the game answers, and no error box appears.
    check(click(game.newGame, 1000), "the game answers while the viewer is open");
    expectSounds(game, {IDW_NEWGAME}, "New Game while the viewer is open");
    check(holds([&]() { return topWindows(game.program.process.dwProcessId, "#32770").empty(); }, 500),
          "no error box when the help file opens");
    click(game.cancel);
    expectSounds(game, {IDW_NEWGAME}, "Cancel");
    closeAndCheckExit(game);

    if (hadClass)
        writeDefault(".chm", oldClass);
}

} // namespace

int main(int argc, char **argv)
{
    init(argc, argv, "help");
    checkMissingHelp();
    checkHelpViewer();
    return finish();
}
