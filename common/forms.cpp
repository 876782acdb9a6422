#include "forms.h"

#include <algorithm>
#include <string>

#include "bitmapdraw.h"
#include "picturefile.h"

namespace {

const int PIECE_COUNT = 16;

int previewSize = 0;
int pieceSize = 0;
int savedSize = 0;
int savedAt = 0;  // where the saved picture's form starts in the sheet: at 0 when it is the preview's
int piecesAt = 0; // where the pieces start

// What the file looked like when the forms were made: a change in any of these means the
// file was written, replaced or removed since.
struct FileStamp {
    bool present;
    DWORD sizeHigh, sizeLow;
    FILETIME created, written;
};

bool made = false; // the forms below belong to shownPath as it was at shownStamp
std::wstring shownPath;
FileStamp shownStamp = {};

// The forms side by side in one sheet, the preview at the left, the saved picture and the pieces after it,
// kept selected into a memory context of its own: drawing a form is one copy, and a new
// picture makes one context and one bitmap, which cost far more than the copies.
HDC sheet = NULL; // NULL when the file can't be shown
HBITMAP sheetBitmap = NULL;
HGDIOBJ sheetPrevious = NULL;
bool piecesMade = false; // false too when the pieces would be smaller than a pixel

FileStamp stampOf(const wchar_t *path)
{
    FileStamp stamp = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesEx(path, GetFileExInfoStandard, &data)) {
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

bool formsCurrent(const wchar_t *path)
{
    return made && shownPath == path && sameStamp(stampOf(path), shownStamp);
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

// Puts the part (x, y, width, height) of the picture selected into from at (toX, 0) of the
// sheet as a form of formWidth x formHeight: copied as it is when it is that size already,
// else stretched with HALFTONE, which keeps the colours of a photo true wherever it shrinks.
void putForm(HDC from, int x, int y, int width, int height, int toX, int formWidth, int formHeight)
{
    if (width == formWidth && height == formHeight)
        BitBlt(sheet, toX, 0, formWidth, formHeight, from, x, y, SRCCOPY);
    else
        StretchBlt(sheet, toX, 0, formWidth, formHeight, from, x, y, width, height, SRCCOPY);
}

// Makes the preview, the saved picture and the pieces from the picture.
void stretchForms(HDC reference, HBITMAP picture, int width, int height)
{
    HDC from = CreateCompatibleDC(reference);
    HGDIOBJ previous = SelectObject(from, picture);
    SetStretchBltMode(sheet, HALFTONE);
    SetBrushOrgEx(sheet, 0, 0, NULL);
    putForm(from, 0, 0, width, height, 0, previewSize, previewSize);
    if (savedAt > 0)
        putForm(from, 0, 0, width, height, savedAt, savedSize, savedSize);
    const int w = width / 4;
    const int h = height / 4;
    const int startX[4] = {0, w, width / 2, width - w};
    const int startY[4] = {0, h, height / 2, height - h};
    piecesMade = pieceSize > 0 && w > 0 && h > 0;
    for (int piece = 0; piecesMade && piece < PIECE_COUNT; ++piece)
        putForm(from, startX[piece % 4], startY[piece / 4], w, h, piecesAt + piece * pieceSize, pieceSize, pieceSize);
    SelectObject(from, previous);
    DeleteDC(from);
}

// Reads the file once and makes every form from it; the decoded picture goes again at once.
// Reading a large photo takes a while, so the wait cursor shows meanwhile.
void makeForms(HDC reference, const wchar_t *path)
{
    HCURSOR cursor = SetCursor(LoadCursor(NULL, IDC_WAIT));
    forgetPicture();
    made = true;
    shownPath = path;
    shownStamp = stampOf(path);
    // The sheet is made before the picture is read: the decoded picture, by far the largest,
    // is then the last made and the first let go, and leaves no hole under the sheet.
    sheet = CreateCompatibleDC(reference);
    const int sheetHeight = std::max(std::max(previewSize, savedSize), pieceSize);
    sheetBitmap = CreateCompatibleBitmap(reference, piecesAt + PIECE_COUNT * pieceSize, sheetHeight);
    sheetPrevious = SelectObject(sheet, sheetBitmap);
    HBITMAP picture = loadPictureFile(path);
    int width = 0;
    int height = 0;
    if (bitmapSize(picture, &width, &height) && width > 0 && height > 0)
        stretchForms(reference, picture, width, height);
    else
        freeSheet();
    if (picture != NULL)
        DeleteObject(picture);
    SetCursor(cursor);
}

} // namespace

void pictureForms(int preview, int piece, int saved)
{
    previewSize = preview;
    pieceSize = piece;
    savedSize = saved;
    savedAt = saved > 0 && saved != preview ? preview : 0;
    piecesAt = savedAt > 0 ? savedAt + saved : preview;
    forgetPicture();
}

// Copies the form of size x size at x in the sheet to the top left of dest.
bool drawForm(HDC target, const RECT &dest, const wchar_t *path, int x, int size)
{
    if (!formsCurrent(path))
        makeForms(target, path);
    if (sheet == NULL)
        return false;
    BitBlt(target, dest.left, dest.top, size, size, sheet, x, 0, SRCCOPY);
    return true;
}

bool drawPictureWhole(HDC target, const RECT &dest, const wchar_t *path)
{
    return drawForm(target, dest, path, 0, previewSize);
}

bool drawPictureSaved(HDC target, const RECT &dest, const wchar_t *path)
{
    return drawForm(target, dest, path, savedAt, savedSize);
}

bool drawPicturePiece(HDC target, const RECT &dest, const wchar_t *path, int piece)
{
    if (!formsCurrent(path))
        makeForms(target, path);
    if (!piecesMade || piece < 0 || piece >= PIECE_COUNT)
        return false;
    BitBlt(target, dest.left, dest.top, pieceSize, pieceSize, sheet, piecesAt + piece * pieceSize, 0, SRCCOPY);
    return true;
}

void forgetPicture()
{
    freeSheet();
    made = false;
}
