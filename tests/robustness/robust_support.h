// What the robustness tests share: the counters a process shows from outside (handles,
// working set), the corpus manifest, snapshots of folders, and how a tile or preview is
// told apart as picture, lettered tile, light square or dark square.
#ifndef ROBUST_SUPPORT_H
#define ROBUST_SUPPORT_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "driver.h"
#include "game_support.h"

namespace robust {

// ---- Counters of another process ----

struct Counters {
    unsigned long handles = 0;           // entries of the system's handle list owned by the process
    unsigned long ownHandleCount = 0;    // GetProcessHandleCount: 0 under Wine for another process
    unsigned long gdi = 0;               // GetGuiResources(GR_GDIOBJECTS): always 0 under Wine
    unsigned long user = 0;              // GetGuiResources(GR_USEROBJECTS): always 0 under Wine
    unsigned long long workingSet = 0;   // GetProcessMemoryInfo, bytes
    unsigned long long privateBytes = 0; // PagefileUsage (committed private memory)
};
Counters counters(const e2e::Program &program);
std::string describe(const Counters &c);
// The process's handles by object type number, "type:count ...", for finding what grows.
std::string handleTypes(const e2e::Program &program);

// Waits until the program has handled everything sent to it so far; false when it did not
// answer within timeoutMs (hung or gone).
bool responsive(HWND window, int timeoutMs = 10000);

// ---- The corpus ----

struct Entry {
    std::string name; // as written in the manifest (UTF-8)
    std::string kind; // valid, tiny, broken, either, folder, toolong
    std::string about;
    std::string path;          // full Windows path in the ANSI code page
    std::string refPath;       // reference picture, "" when there is none
    bool representable = true; // false when the ANSI code page can't spell the path
};
// Reads <corpus>/manifest.tsv; the corpus folder is a host or Windows path.
std::vector<Entry> readManifest(const std::string &corpus);

// ---- Folders ----

// Every entry under folder (recursively, long paths allowed): relative name -> size and
// last write time, so that any file written, changed or removed shows as a difference.
typedef std::map<std::string, std::string> Snapshot;
Snapshot snapshot(const std::string &folder);
// The differences, one per line; "" when there are none.
std::string compare(const Snapshot &before, const Snapshot &after);

// UTF-8 <-> the ANSI code page the programs use.
std::string ansiFromUtf8(const std::string &text, bool *exact);

// ---- What a control shows ----

const uint32_t LIGHT_TILE = 0xE2E2DC; // a lettered tile's and the empty preview's fill
const uint32_t LETTER = 0x3C3C3C;
// Share of pixels within tolerance of colour.
double shareOf(const e2e::Image &image, uint32_t colour, int tolerance);
bool isLetteredTile(const e2e::Image &tile);
bool isLightSquare(const e2e::Image &view);
bool isDarkSquare(const e2e::Image &view);

// ---- Reports ----

// Appends a line to the file (created when missing).
void appendLine(const std::string &path, const std::string &line);

} // namespace robust

#endif
