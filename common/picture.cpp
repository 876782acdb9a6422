#include "picture.h"

#include <string>

#include "bitmapdraw.h"
#include "bmpcheck.h"

namespace {

const int PIECE_COUNT = 16;

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

// A form and the memory context it stays selected into for its life, so that drawing it is
// one copy: making and freeing a context costs far more than the copy of a small form.
struct Form {
    HDC context;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

bool made = false; // the forms below belong to shownPath as it was at shownStamp
std::string shownPath;
FileStamp shownStamp = {};
Form whole = {};               // no context when the file can't be shown
Form pieces[PIECE_COUNT] = {}; // none when the pieces can't be shown
int piecesMode = 0;            // the stretch mode the pieces were made with

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

bool formsCurrent(const char *path) { return made && shownPath == path && sameStamp(stampOf(path), shownStamp); }

// Reads the start of the file and its length, and asks whether its headers fit inside it.
bool pictureFileFits(const char *path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char head[BMP_HEADER_BYTES] = {};
    DWORD headLength = 0;
    LARGE_INTEGER length = {};
    const bool read = ReadFile(file, head, sizeof(head), &headLength, NULL) && GetFileSizeEx(file, &length);
    CloseHandle(file);
    return read && bmpHeadersFit(head, headLength, static_cast<std::uint64_t>(length.QuadPart));
}

// The picture at its own size, or NULL when it is not a bitmap that can be used: missing,
// unreadable, or with headers that don't fit the file's length.
HBITMAP loadPictureFile(const char *path)
{
    if (!pictureFileFits(path))
        return NULL;
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(NULL), path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// A form like reference's surface holding the source rectangle of the picture selected into
// from, stretched to width x height with stretch mode mode.
Form stretchedForm(HDC reference, HDC from, const RECT &source, int width, int height, int mode)
{
    Form form = {CreateCompatibleDC(reference), CreateCompatibleBitmap(reference, width, height), NULL};
    form.previous = SelectObject(form.context, form.bitmap);
    SetStretchBltMode(form.context, mode);
    SetBrushOrgEx(form.context, 0, 0, NULL);
    StretchBlt(form.context, 0, 0, width, height, from, source.left, source.top, source.right - source.left,
               source.bottom - source.top, SRCCOPY);
    return form;
}

void freeForm(Form &form)
{
    if (form.context == NULL)
        return;
    SelectObject(form.context, form.previous);
    DeleteDC(form.context);
    DeleteObject(form.bitmap);
    form = Form();
}

// Reads the file once and makes every form from it; the decoded picture goes again at once.
void makeForms(HDC reference, const char *path, int mode)
{
    forgetPicture();
    made = true;
    shownPath = path;
    shownStamp = stampOf(path);
    piecesMode = mode;
    HBITMAP picture = loadPictureFile(path);
    int width = 0;
    int height = 0;
    if (bitmapSize(picture, &width, &height) && width > 0 && height > 0) {
        HDC from = CreateCompatibleDC(reference);
        HGDIOBJ previous = SelectObject(from, picture);
        const RECT all = {0, 0, width, height};
        whole = stretchedForm(reference, from, all, wholeWidth, wholeHeight, HALFTONE);
        const int w = width / 4;
        const int h = height / 4;
        const int startX[4] = {0, w, width / 2, width - w};
        const int startY[4] = {0, h, height / 2, height - h};
        for (int piece = 0; pieceSize > 0 && w > 0 && h > 0 && piece < PIECE_COUNT; ++piece) {
            const RECT part = {startX[piece % 4], startY[piece / 4], startX[piece % 4] + w, startY[piece / 4] + h};
            pieces[piece] = stretchedForm(reference, from, part, pieceSize, pieceSize, mode);
        }
        SelectObject(from, previous);
        DeleteDC(from);
    }
    if (picture != NULL)
        DeleteObject(picture);
}

bool drawForm(HDC target, const RECT &dest, const Form &form, int width, int height)
{
    if (form.context == NULL)
        return false;
    BitBlt(target, dest.left, dest.top, width, height, form.context, 0, 0, SRCCOPY);
    return true;
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
    return drawForm(target, dest, whole, wholeWidth, wholeHeight);
}

bool drawPicturePiece(HDC target, const RECT &dest, const char *path, int piece)
{
    const int mode = GetStretchBltMode(target);
    if (!formsCurrent(path) || mode != piecesMode)
        makeForms(target, path, mode);
    return piece >= 0 && piece < PIECE_COUNT && drawForm(target, dest, pieces[piece], pieceSize, pieceSize);
}

void forgetPicture()
{
    freeForm(whole);
    for (Form &piece : pieces)
        freeForm(piece);
    made = false;
}
