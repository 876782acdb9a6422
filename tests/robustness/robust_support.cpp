#include "robust_support.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace robust {

namespace {

// One entry of the system's handle list (SystemHandleInformation), as ntdll returns it.
struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct HandleList {
    ULONG count;
    HandleEntry entries[1];
};
typedef LONG(WINAPI *QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);
const ULONG SYSTEM_HANDLE_INFORMATION = 16;
const LONG STATUS_LENGTH_MISMATCH = static_cast<LONG>(0xC0000004);

// Handles the process holds, counted in the system's handle list: Wine answers
// GetProcessHandleCount for another process with 0, but it lists every handle there.
unsigned long handlesOf(DWORD processId, std::map<int, int> *byType = nullptr)
{
    static QuerySystemInformation query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == NULL)
        return 0;
    std::vector<unsigned char> buffer(1 << 20);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const LONG status = query(SYSTEM_HANDLE_INFORMATION, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == STATUS_LENGTH_MISMATCH) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status < 0)
            return 0;
        const HandleList *list = reinterpret_cast<const HandleList *>(buffer.data());
        unsigned long count = 0;
        for (ULONG i = 0; i < list->count; ++i)
            if (list->entries[i].ownerPid == processId) {
                ++count;
                if (byType != nullptr)
                    ++(*byType)[list->entries[i].objectType];
            }
        return count;
    }
    return 0;
}

} // namespace

std::string handleTypes(const e2e::Program &program)
{
    std::map<int, int> byType;
    handlesOf(program.process.dwProcessId, &byType);
    std::string text;
    for (const auto &type : byType)
        text += (text.empty() ? "" : " ") + std::to_string(type.first) + ":" + std::to_string(type.second);
    return text;
}

Counters counters(const e2e::Program &program)
{
    Counters c;
    HANDLE process = program.process.hProcess;
    DWORD handles = 0;
    if (GetProcessHandleCount(process, &handles))
        c.ownHandleCount = handles;
    c.handles = handlesOf(program.process.dwProcessId);
    c.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    c.user = GetGuiResources(process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&memory), sizeof(memory))) {
        c.workingSet = memory.WorkingSetSize;
        c.privateBytes = memory.PagefileUsage;
    }
    return c;
}

std::string describe(const Counters &c)
{
    char text[240];
    std::snprintf(text, sizeof(text),
                  "handles %lu (GetProcessHandleCount says %lu), working set %.1f MB, pagefile %.1f MB, "
                  "GetGuiResources GDI %lu USER %lu",
                  c.handles, c.ownHandleCount, static_cast<double>(c.workingSet) / (1024.0 * 1024.0),
                  static_cast<double>(c.privateBytes) / (1024.0 * 1024.0), c.gdi, c.user);
    return text;
}

bool responsive(HWND window, int timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, static_cast<UINT>(timeoutMs),
                               &result) != 0;
}

std::string ansiFromUtf8(const std::string &text, bool *exact)
{
    *exact = true;
    if (text.empty())
        return text;
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], wideLength);
    BOOL defaulted = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, NULL, 0, NULL, &defaulted);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &ansi[0], length, NULL, &defaulted);
    *exact = defaulted == FALSE;
    return ansi;
}

std::vector<Entry> readManifest(const std::string &corpus)
{
    std::vector<Entry> entries;
    const std::string folder = e2e::windowsPath(corpus);
    std::string contents;
    if (!e2e::readFile(e2e::joinPath(folder, "manifest.tsv"), contents))
        return entries;
    std::istringstream lines(contents);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::string field;
        std::istringstream parts(line);
        while (std::getline(parts, field, '\t'))
            fields.push_back(field);
        if (fields.size() != 5)
            continue;
        Entry entry;
        entry.name = fields[0];
        entry.kind = fields[2];
        entry.about = fields[4];
        std::string relative = fields[1];
        std::replace(relative.begin(), relative.end(), '/', '\\');
        bool exact = true;
        entry.path = ansiFromUtf8(e2e::joinPath(folder, relative), &exact);
        entry.representable = exact;
        if (fields[3] != "-") {
            std::string ref = fields[3];
            std::replace(ref.begin(), ref.end(), '/', '\\');
            bool refExact = true;
            entry.refPath = ansiFromUtf8(e2e::joinPath(folder, ref), &refExact);
        }
        entries.push_back(entry);
    }
    return entries;
}

namespace {

std::wstring longWide(const std::string &path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), NULL, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &wide[0], length);
    return L"\\\\?\\" + wide;
}

std::string utf8(const std::wstring &wide)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), NULL, 0, NULL, NULL);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, NULL, NULL);
    return text;
}

void walk(const std::wstring &folder, const std::string &prefix, Snapshot &out, int depth)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::string relative = prefix + utf8(name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[relative + "\\"] = "folder";
            if (depth < 16)
                walk(folder + L"\\" + name, relative + "\\", out, depth + 1);
        } else {
            const unsigned long long size =
                (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            const unsigned long long written =
                (static_cast<unsigned long long>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                found.ftLastWriteTime.dwLowDateTime;
            out[relative] = std::to_string(size) + " bytes, written " + std::to_string(written);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

Snapshot snapshot(const std::string &folder)
{
    Snapshot out;
    walk(longWide(e2e::windowsPath(folder)), "", out, 0);
    return out;
}

std::string compare(const Snapshot &before, const Snapshot &after)
{
    std::string differences;
    for (const auto &entry : after) {
        const auto old = before.find(entry.first);
        if (old == before.end())
            differences += "new: " + entry.first + " (" + entry.second + ")\n";
        else if (old->second != entry.second)
            differences += "changed: " + entry.first + " (" + old->second + " -> " + entry.second + ")\n";
    }
    for (const auto &entry : before)
        if (after.find(entry.first) == after.end())
            differences += "gone: " + entry.first + "\n";
    return differences;
}

double shareOf(const e2e::Image &image, uint32_t colour, int tolerance)
{
    if (image.pixels.empty())
        return 0.0;
    size_t count = 0;
    for (uint32_t pixel : image.pixels)
        if (e2e::channelDistance(pixel, colour) <= tolerance)
            ++count;
    return static_cast<double>(count) / static_cast<double>(image.pixels.size());
}

bool isLetteredTile(const e2e::Image &tile)
{
    // Mostly the light fill, with a dark letter on it.
    return shareOf(tile, LIGHT_TILE, 6) > 0.5 && shareOf(tile, LETTER, 60) > 0.02;
}

bool isLightSquare(const e2e::Image &view) { return shareOf(view, LIGHT_TILE, 6) > 0.85; }

bool isDarkSquare(const e2e::Image &view) { return shareOf(view, 0x000000, 4) > 0.98; }

void appendLine(const std::string &path, const std::string &line)
{
    FILE *file = std::fopen(path.c_str(), "ab");
    if (file == NULL)
        return;
    std::fputs((line + "\n").c_str(), file);
    std::fclose(file);
}

} // namespace robust
