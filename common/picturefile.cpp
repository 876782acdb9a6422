#include "picturefile.h"

#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bmpcheck.h"
#include "exif.h"

namespace {

const std::uint64_t MOST_PIXELS = 100000000; // larger pictures are refused before decoding
const UINT BYTES_PER_PIXEL = 4;
const std::uint32_t CHANNEL_MAX = 255;
const int ALPHA_SHIFT = 24;                    // a 32-bit pixel is alpha, red, green, blue
const std::uint32_t COLOUR_BITS = 0x00FFFFFF;  // red, green and blue
const std::uint32_t EACH_CHANNEL = 0x00010101; // 1 in each of them

// Reads up to size bytes from the start of the file into buffer (got of them), and the
// file's whole length. False when the file can't be opened or read.
bool readFileStart(const wchar_t *path, unsigned char *buffer, DWORD size, DWORD *got, std::uint64_t *length)
{
    HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size64 = {};
    const bool read = ReadFile(file, buffer, size, got, NULL) && GetFileSizeEx(file, &size64);
    CloseHandle(file);
    *length = static_cast<std::uint64_t>(size64.QuadPart);
    return read;
}

// The EXIF orientation written in the file's first bytes; 1 when there is none.
int fileOrientation(const wchar_t *path)
{
    std::vector<unsigned char> start(EXIF_SEARCH_BYTES);
    DWORD got = 0;
    std::uint64_t length = 0;
    if (!readFileStart(path, start.data(), static_cast<DWORD>(start.size()), &got, &length))
        return 1;
    return exifOrientation(start.data(), got);
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

// The first frame (GIF) or page (TIFF) the decoder reads, turned upright.
HBITMAP firstFrame(IWICImagingFactory *factory, IWICBitmapDecoder *decoder, int orientation)
{
    IWICBitmapFrameDecode *frame = NULL;
    HBITMAP picture = NULL;
    if (SUCCEEDED(decoder->GetFrame(0, &frame))) {
        picture = uprightPicture(factory, frame, orientation);
        frame->Release();
    }
    return picture;
}

// The first frame (GIF) or page (TIFF) of the file, decoded by the imaging component.
HBITMAP decodeFirstFrame(IWICImagingFactory *factory, const wchar_t *path)
{
    IWICBitmapDecoder *decoder = NULL;
    if (FAILED(factory->CreateDecoderFromFilename(path, NULL, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder)))
        return NULL;
    HBITMAP picture = firstFrame(factory, decoder, fileOrientation(path));
    decoder->Release();
    return picture;
}

// The picture the bytes hold, decoded by the imaging component.
HBITMAP decodeBytes(IWICImagingFactory *factory, BYTE *bytes, DWORD length)
{
    IWICStream *stream = NULL;
    if (FAILED(factory->CreateStream(&stream)))
        return NULL;
    IWICBitmapDecoder *decoder = NULL;
    HBITMAP picture = NULL;
    if (SUCCEEDED(stream->InitializeFromMemory(bytes, length)) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, NULL, WICDecodeMetadataCacheOnDemand, &decoder))) {
        picture = firstFrame(factory, decoder, 1);
        decoder->Release();
    }
    stream->Release();
    return picture;
}

// Any picture the imaging component reads: JPEG, PNG, GIF, TIFF and the rest.
HBITMAP loadImagingFile(const wchar_t *path)
{
    IWICImagingFactory *factory = NULL;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return NULL;
    HBITMAP picture = decodeFirstFrame(factory, path);
    factory->Release();
    return picture;
}

// A BMP file is handed to the platform's loader only when its headers fit inside it. Wine's
// loader draws a file whose rows are stored top-down all black; the imaging component reads it
// right, everywhere.
HBITMAP loadBmpFile(const wchar_t *path, const unsigned char *head, DWORD headLength, std::uint64_t length)
{
    if (!bmpHeadersFit(head, headLength, length))
        return NULL;
    if (bmpTopDown(head, headLength))
        return loadImagingFile(path);
    return static_cast<HBITMAP>(LoadImage(GetModuleHandle(NULL), path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

} // namespace

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

HBITMAP loadPictureResource(int id, const wchar_t *type)
{
    HMODULE module = GetModuleHandle(NULL);
    HRSRC found = FindResource(module, MAKEINTRESOURCE(id), type);
    HGLOBAL loaded = found != NULL ? LoadResource(module, found) : NULL;
    BYTE *bytes = loaded != NULL ? static_cast<BYTE *>(LockResource(loaded)) : NULL;
    IWICImagingFactory *factory = NULL;
    if (bytes == NULL ||
        FAILED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return NULL;
    HBITMAP picture = decodeBytes(factory, bytes, SizeofResource(module, found));
    factory->Release();
    return picture;
}

// A file that starts with "BM" is a BMP file; the others go to the imaging component.
HBITMAP loadPictureFile(const wchar_t *path)
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
