#include "resizer_steps.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace resizer {

bool startResizer(e2e::Program &program, const std::string &folder, const e2e::StartOptions &options)
{
    if (!e2e::start(program, e2e::requiredOption("pixelhem"), folder, options))
        return false;
    return e2e::check(e2e::waitForWindow(program, "Pixelhem") != NULL, "the Pixelhem window appears");
}

HWND control(const e2e::Program &program, int id)
{
    HWND found = e2e::child(program.window, id);
    e2e::check(found != NULL, "control " + std::to_string(id) + " exists");
    return found;
}

bool settle(const e2e::Program &program)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(program.window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
}

bool choosePicture(e2e::Program &program, const std::string &path)
{
    e2e::clickPosted(control(program, GET_PREVIEW));
    HWND dialog = e2e::waitForDialog(program.process.dwProcessId);
    if (!e2e::check(dialog != NULL, "the open-file dialog appears"))
        return false;
    if (!e2e::check(e2e::chooseFile(dialog, path), "the open-file dialog takes " + path))
        return false;
    return e2e::check(settle(program), "the program answers after the dialog");
}

namespace {

std::wstring longWidePath(const std::string &path)
{
    const std::string windows = e2e::windowsPath(path);
    std::wstring wide(L"\\\\?\\");
    for (char c : windows)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

std::string narrow(const wchar_t *wide)
{
    std::string text;
    for (; *wide != 0; ++wide)
        text += *wide < 128 ? static_cast<char>(*wide) : '?';
    return text;
}

std::vector<std::string> folderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((longWidePath(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = narrow(found.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::vector<std::string> savedNames(const std::string &folder)
{
    std::vector<std::string> names;
    for (const std::string &name : folderEntries(folder))
        if (name.rfind("Snowquill_Image", 0) == 0)
            names.push_back(name);
    return names;
}

bool entryExists(const std::string &folder, const std::string &name)
{
    const std::vector<std::string> names = folderEntries(folder);
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string newSoundIds(e2e::Program &program)
{
    const std::vector<e2e::Sound> sounds = e2e::newSounds(program);
    for (const e2e::Sound &sound : sounds) {
        e2e::check(sound.function == "PlaySoundA", "sounds are played with PlaySoundA: " + sound.line);
        e2e::checkEqual(static_cast<long long>(sound.flags), SND_RESOURCE | SND_ASYNC,
                        "sound flags SND_RESOURCE | SND_ASYNC: " + sound.line);
        e2e::checkText(sound.module, "own", "the sound comes from the program's own resources");
    }
    return sounds.empty() ? std::string() : e2e::soundIds(sounds);
}

int bellCount()
{
    const std::string log = e2e::option("bells");
    if (log.empty())
        return -1;
    std::string contents;
    if (!e2e::readFile(log, contents))
        return 0;
    int count = 0;
    std::istringstream lines(contents);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("bell", 0) == 0)
            ++count;
    return count;
}

bool bellAfter(int before, int timeoutMs)
{
    if (before < 0)
        return true;
    return e2e::waitFor([&]() { return bellCount() > before; }, timeoutMs);
}

bool noBellAfter(int before, int durationMs)
{
    if (before < 0)
        return true;
    return e2e::holds([&]() { return bellCount() == before; }, durationMs);
}

int limitFileSize(const std::string &needle, unsigned long bytes)
{
    const std::string requests = e2e::option("requests");
    if (requests.empty())
        return -1;
    const std::string answerPath = requests + ".done";
    DeleteFileA(e2e::windowsPath(answerPath).c_str());
    if (!e2e::writeFile(requests, "fsize " + std::to_string(bytes) + " " + needle + "\n"))
        return -1;
    std::string answer;
    if (!e2e::waitFor([&]() { return e2e::readFile(answerPath, answer) && !answer.empty(); }, 5000))
        return -1;
    int limited = -1;
    std::sscanf(answer.c_str(), "fsize %d", &limited);
    return limited;
}

std::string expectedSavedHeader()
{
    const unsigned char bytes[54] = {
        'B',  'M',                                      // type
        0x36, 0xB0, 0x01, 0x00,                         // 110,646 bytes
        0x00, 0x00, 0x00, 0x00,                         // reserved
        0x36, 0x00, 0x00, 0x00,                         // pixel rows at 54
        0x28, 0x00, 0x00, 0x00,                         // info header 40 bytes
        0xC0, 0x00, 0x00, 0x00,                         // 192 wide
        0xC0, 0x00, 0x00, 0x00,                         // 192 high, bottom row first
        0x01, 0x00, 0x18, 0x00,                         // 1 plane, 24 bits
        0x00, 0x00, 0x00, 0x00,                         // no compression
        0x00, 0xB0, 0x01, 0x00,                         // 110,592 bytes of rows: 192 rows of 576
        0x00, 0x00, 0x00, 0x00,                         // resolutions 0
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // colour counts 0
        0x00, 0x00, 0x00, 0x00,
    };
    return std::string(reinterpret_cast<const char *>(bytes), sizeof(bytes));
}

uint32_t blockColour(int col, int row)
{
    // Far apart in every channel, so that neighbouring blocks can't be mistaken.
    static const uint32_t palette[] = {
        0xC01010, 0x10A030, 0x2040D0, 0xE0D020, 0x20C0C0, 0xB020B0, 0xF08020, 0x606060,
        0x80E080, 0x402080, 0xF0F0F0, 0x104010, 0x90A0F0, 0x703010, 0xF090B0, 0x008080,
    };
    return palette[(row * 4 + col) % 16];
}

e2e::Image blockPicture(int width, int height, int cols, int rows)
{
    e2e::Image image = e2e::makeImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.set(x, y, blockColour(x * cols / width, y * rows / height));
    return image;
}

e2e::Image averageStretch(const e2e::Image &source, int width, int height)
{
    e2e::Image target = e2e::makeImage(width, height);
    for (int ty = 0; ty < height; ++ty) {
        const int y0 = ty * source.height / height;
        const int y1 = std::max(y0 + 1, (ty + 1) * source.height / height);
        for (int tx = 0; tx < width; ++tx) {
            const int x0 = tx * source.width / width;
            const int x1 = std::max(x0 + 1, (tx + 1) * source.width / width);
            unsigned long r = 0, g = 0, b = 0, n = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const uint32_t c = source.at(x, y);
                    r += (c >> 16) & 0xFF;
                    g += (c >> 8) & 0xFF;
                    b += c & 0xFF;
                    ++n;
                }
            target.set(tx, ty, static_cast<uint32_t>(((r / n) << 16) | ((g / n) << 8) | (b / n)));
        }
    }
    return target;
}

std::string pixelPart(const std::string &file) { return file.size() > 54 ? file.substr(54) : std::string(); }

} // namespace resizer
