#include "picture.h"

#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bitmapdraw.h"
#include "bmpcheck.h"
#include "exif.h"

namespace {

const int PIECE_COUNT = 16;
const std::uint64_t MOST_PIXELS = 100000000; // larger pictures are refused before decoding
const UINT BYTES_PER_PIXEL = 4;
const std::uint32_t CHANNEL_MAX = 255;
const int ALPHA_SHIFT = 24;                    // a 32-bit pixel is alpha, red, green, blue
const std::uint32_t COLOUR_BITS = 0x00FFFFFF;  // red, green and blue
const std::uint32_t EACH_CHANNEL = 0x00010101; // 1 in each of them

int wholeWidth = 0;
int wholeHeight = 0;
int pieceSize = 0;

// What the file looked like when the forms were made: a change in any of these means the
// file was written, replaced or removed since.
struct FileStamp {
    bool present;
    DWORD sizeHigh, sizeLow;
    FILETIME created, written;
};

bool made = false; // the forms below belong to shownPath as it was at shownStamp
std::string shownPath;
FileStamp shownStamp = {};
int piecesMode = 0; // the stretch mode the pieces were made with

// The forms side by side in one sheet, the whole picture at the left and the pieces after it,
// kept selected into a memory context of its own: drawing a form is one copy, and a new
// picture makes one context and one bitmap, which cost far more than the copies.
HDC sheet = NULL; // NULL when the file can't be shown
HBITMAP sheetBitmap = NULL;
HGDIOBJ sheetPrevious = NULL;
bool piecesMade = false; // false too when the pieces would be smaller than a pixel

FileStamp stampOf(const char *path)
{
    FileStamp stamp = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        stamp.present = true;
        stamp.sizeHigh = data.nFileSizeHigh;
        stamp.sizeLow = data.nFileSizeLow;
        stamp.created = data.ftCreationTime;
        stamp.written = data.ftLastWriteTime;
    }
    return stamp;
}

bool sameTime(const FILETIME &a, const FILETIME &b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

bool sameStamp(const FileStamp &a, const FileStamp &b)
{
    return a.present == b.present && a.sizeHigh == b.sizeHigh && a.sizeLow == b.sizeLow &&
           sameTime(a.created, b.created) && sameTime(a.written, b.written);
}

bool formsCurrent(const char *path)
{
    return made && shownPath == path && sameStamp(stampOf(path), shownStamp);
}

// Reads up to size bytes from the start of the file into buffer (got of them), and the
// file's whole length. False when the file can't be opened or read.
bool readFileStart(const char *path, unsigned char *buffer, DWORD size, DWORD *got, std::uint64_t *length)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size64 = {};
    const bool read = ReadFile(file, buffer, size, got, NULL) && GetFileSizeEx(file, &size64);
    CloseHandle(file);
    *length = static_cast<std::uint64_t>(size64.QuadPart);
    return read;
}

// A BMP file is handed to the platform's loader only when its headers fit inside it.
HBITMAP loadBmpFile(const char *path, const unsigned char *head, DWORD headLength, std::uint64_t length)
{
    if (!bmpHeadersFit(head, headLength, length))
        return NULL;
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(NULL), path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// The EXIF orientation written in the file's first bytes; 1 when there is none.
int fileOrientation(const char *path)
{
    std::vector<unsigned char> start(EXIF_SEARCH_BYTES);
    DWORD got = 0;
    std::uint64_t length = 0;
    if (!readFileStart(path, start.data(), static_cast<DWORD>(start.size()), &got, &length))
        return 1;
    return exifOrientation(start.data(), got);
}

std::wstring widePath(const char *path)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, NULL, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length);
    return wide;
}

// A top-down 32-bit DIB section of the given size, its pixels in *pixels.
HBITMAP topDownBitmap(int width, int height, void **pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(NULL, &info, DIB_RGB_COLORS, pixels, NULL, 0);
}

// Copies the width x height source into pixels turned upright for its orientation. Turned
// pictures are copied a row at a time, each pixel of the row put in its upright place, so
// that no second copy of the picture is ever held. (The imaging component's flip-rotator
// can't do this everywhere: Wine's copies nothing but the top-to-bottom flip.)
bool copyUpright(IWICBitmapSource *source, UINT width, UINT height, int orientation, BYTE *pixels)
{
    const UINT stride = width * BYTES_PER_PIXEL;
    if (orientation == 1)
        return SUCCEEDED(source->CopyPixels(NULL, stride, stride * height, pixels));
    const std::ptrdiff_t uprightWidth = orientationSwapsSides(orientation) ? height : width;
    std::uint32_t *upright = reinterpret_cast<std::uint32_t *>(pixels);
    std::vector<std::uint32_t> row(width);
    for (UINT y = 0; y < height; ++y) {
        const WICRect rect = {0, static_cast<INT>(y), static_cast<INT>(width), 1};
        if (FAILED(source->CopyPixels(&rect, stride, stride, reinterpret_cast<BYTE *>(row.data()))))
            return false;
        // The row's pixels lie on one line of the upright picture: its first pixel's place
        // and the step from one pixel to the next.
        int firstX = 0;
        int firstY = 0;
        int nextX = 0;
        int nextY = 0;
        orientedPlace(orientation, static_cast<int>(width), static_cast<int>(height), 0, static_cast<int>(y), &firstX,
                      &firstY);
        orientedPlace(orientation, static_cast<int>(width), static_cast<int>(height), 1, static_cast<int>(y), &nextX,
                      &nextY);
        const std::ptrdiff_t first = firstY * uprightWidth + firstX;
        const std::ptrdiff_t step = (nextY - firstY) * uprightWidth + (nextX - firstX);
        for (UINT x = 0; x < width; ++x)
            upright[first + static_cast<std::ptrdiff_t>(x) * step] = row[x];
    }
    return true;
}

// Shows the premultiplied pixels over white, the way both programs show every picture that
// has transparent parts: each colour channel becomes value + (255 - alpha), and alpha is
// cleared. A premultiplied value never exceeds its alpha, so the sum never carries from one
// channel into the next, and the whole pixel is one sum. The end-to-end test of these pictures
// does the same sum on its own decoding, so this stays exactly that sum.
void showOverWhite(BYTE *pixels, std::uint64_t count)
{
    std::uint32_t *pixel = reinterpret_cast<std::uint32_t *>(pixels);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint32_t uncovered = CHANNEL_MAX - (pixel[i] >> ALPHA_SHIFT);
        pixel[i] = (pixel[i] & COLOUR_BITS) + uncovered * EACH_CHANNEL;
    }
}

// The converted width x height picture turned upright and shown over white, as a top-down
// 32-bit DIB section; NULL when its pixels can't be had.
HBITMAP uprightBitmap(IWICBitmapSource *converted, UINT width, UINT height, int orientation)
{
    const bool swapped = orientationSwapsSides(orientation);
    void *pixels = NULL;
    HBITMAP picture =
        topDownBitmap(static_cast<int>(swapped ? height : width), static_cast<int>(swapped ? width : height), &pixels);
    if (picture == NULL)
        return NULL;
    if (!copyUpright(converted, width, height, orientation, static_cast<BYTE *>(pixels))) {
        DeleteObject(picture);
        return NULL;
    }
    showOverWhite(static_cast<BYTE *>(pixels), static_cast<std::uint64_t>(width) * height);
    return picture;
}

// The frame turned upright, as a top-down 32-bit DIB section; NULL when it can't be decoded
// or is larger than MOST_PIXELS. Its size is asked before any pixel is decoded, so that a
// picture too large to hold is refused at once.
HBITMAP uprightPicture(IWICImagingFactory *factory, IWICBitmapSource *frame, int orientation)
{
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 ||
        static_cast<std::uint64_t>(width) * height > MOST_PIXELS)
        return NULL;
    IWICFormatConverter *converter = NULL;
    if (FAILED(factory->CreateFormatConverter(&converter)))
        return NULL;
    HBITMAP picture = NULL;
    if (SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, NULL, 0.0,
                                        WICBitmapPaletteTypeCustom)))
        picture = uprightBitmap(converter, width, height, orientation);
    converter->Release();
    return picture;
}

// The first frame (GIF) or page (TIFF) of the file, decoded by the imaging component.
HBITMAP decodeFirstFrame(IWICImagingFactory *factory, const char *path)
{
    const std::wstring wide = widePath(path);
    IWICBitmapDecoder *decoder = NULL;
    if (FAILED(factory->CreateDecoderFromFilename(wide.c_str(), NULL, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  &decoder)))
        return NULL;
    IWICBitmapFrameDecode *frame = NULL;
    HBITMAP picture = NULL;
    if (SUCCEEDED(decoder->GetFrame(0, &frame))) {
        picture = uprightPicture(factory, frame, fileOrientation(path));
        frame->Release();
    }
    decoder->Release();
    return picture;
}

// Any picture the imaging component reads: JPEG, PNG, GIF, TIFF and the rest.
HBITMAP loadImagingFile(const char *path)
{
    IWICImagingFactory *factory = NULL;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return NULL;
    HBITMAP picture = decodeFirstFrame(factory, path);
    factory->Release();
    return picture;
}

// The picture at its own size, or NULL when it can't be shown: missing or unreadable, a
// BMP file whose headers don't fit its length, or a file the imaging component refuses.
// A file that starts with "BM" is a BMP file and goes to the platform's loader, as always.
HBITMAP loadPictureFile(const char *path)
{
    unsigned char head[BMP_HEADER_BYTES] = {};
    DWORD headLength = 0;
    std::uint64_t length = 0;
    if (!readFileStart(path, head, sizeof(head), &headLength, &length))
        return NULL;
    if (headLength >= 2 && head[0] == 'B' && head[1] == 'M')
        return loadBmpFile(path, head, headLength, length);
    return loadImagingFile(path);
}

void freeSheet()
{
    if (sheet != NULL) {
        SelectObject(sheet, sheetPrevious);
        DeleteDC(sheet);
        DeleteObject(sheetBitmap);
    }
    sheet = NULL;
    sheetBitmap = NULL;
    piecesMade = false;
}

// Reads the file once and makes every form from it; the decoded picture goes again at once.
void makeForms(HDC reference, const char *path, int mode)
{
    forgetPicture();
    made = true;
    shownPath = path;
    shownStamp = stampOf(path);
    piecesMode = mode;
    // The sheet is made before the picture is read: the decoded picture, by far the largest,
    // is then the last made and the first let go, and leaves no hole under the sheet.
    sheet = CreateCompatibleDC(reference);
    sheetBitmap = CreateCompatibleBitmap(reference, wholeWidth + PIECE_COUNT * pieceSize,
                                         wholeHeight > pieceSize ? wholeHeight : pieceSize);
    sheetPrevious = SelectObject(sheet, sheetBitmap);
    HBITMAP picture = loadPictureFile(path);
    int width = 0;
    int height = 0;
    if (!bitmapSize(picture, &width, &height) || width <= 0 || height <= 0) {
        freeSheet();
    } else {
        HDC from = CreateCompatibleDC(reference);
        HGDIOBJ previous = SelectObject(from, picture);
        SetStretchBltMode(sheet, HALFTONE);
        SetBrushOrgEx(sheet, 0, 0, NULL);
        StretchBlt(sheet, 0, 0, wholeWidth, wholeHeight, from, 0, 0, width, height, SRCCOPY);
        const int w = width / 4;
        const int h = height / 4;
        const int startX[4] = {0, w, width / 2, width - w};
        const int startY[4] = {0, h, height / 2, height - h};
        piecesMade = pieceSize > 0 && w > 0 && h > 0;
        SetStretchBltMode(sheet, mode);
        for (int piece = 0; piecesMade && piece < PIECE_COUNT; ++piece)
            StretchBlt(sheet, wholeWidth + piece * pieceSize, 0, pieceSize, pieceSize, from, startX[piece % 4],
                       startY[piece / 4], w, h, SRCCOPY);
        SelectObject(from, previous);
        DeleteDC(from);
    }
    if (picture != NULL)
        DeleteObject(picture);
}

} // namespace

void pictureForms(int previewWidth, int previewHeight, int tileSize)
{
    wholeWidth = previewWidth;
    wholeHeight = previewHeight;
    pieceSize = tileSize;
    forgetPicture();
}

bool drawPictureWhole(HDC target, const RECT &dest, const char *path)
{
    if (!formsCurrent(path))
        makeForms(target, path, made ? piecesMode : GetStretchBltMode(target));
    if (sheet == NULL)
        return false;
    BitBlt(target, dest.left, dest.top, wholeWidth, wholeHeight, sheet, 0, 0, SRCCOPY);
    return true;
}

bool drawPicturePiece(HDC target, const RECT &dest, const char *path, int piece)
{
    const int mode = GetStretchBltMode(target);
    if (!formsCurrent(path) || mode != piecesMode)
        makeForms(target, path, mode);
    if (!piecesMade || piece < 0 || piece >= PIECE_COUNT)
        return false;
    BitBlt(target, dest.left, dest.top, pieceSize, pieceSize, sheet, wholeWidth + piece * pieceSize, 0, SRCCOPY);
    return true;
}

void forgetPicture()
{
    freeSheet();
    made = false;
}

namespace {

// The full path of path, which may be relative to the current folder: an open-file dialog
// may change that folder later.
std::string fullPath(const std::string &path)
{
    const DWORD length = GetFullPathNameA(path.c_str(), 0, NULL, NULL);
    if (length == 0)
        return path;
    std::string full(length, '\0');
    const DWORD written = GetFullPathNameA(path.c_str(), length, full.data(), NULL);
    if (written == 0 || written >= length)
        return path;
    full.resize(written);
    return full;
}

bool isFile(const std::string &path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

std::string commandLinePicture(const char *commandLine)
{
    std::string named = commandLine != NULL ? commandLine : "";
    const std::string::size_type first = named.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    named.erase(0, first);
    if (named[0] == '"') {
        const std::string::size_type close = named.find('"', 1);
        named = named.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        named.erase(named.find_last_not_of(" \t") + 1);
    }
    const std::string full = fullPath(named);
    return isFile(full) ? full : std::string();
}

std::string droppedFile(HDROP drop)
{
    const UINT length = DragQueryFileA(drop, 0, NULL, 0);
    std::string path(length + 1, '\0');
    const UINT copied = length > 0 ? DragQueryFileA(drop, 0, path.data(), length + 1) : 0;
    DragFinish(drop);
    path.resize(copied);
    return isFile(path) ? path : std::string();
}
