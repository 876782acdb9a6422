// Picture files as the programs read them: a BMP through the platform's loader, any other
// picture through the imaging component (WIC), put over white and turned upright.
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include "driver.h"

namespace e2e {

int turn = 0;

namespace {

using Microsoft::WRL::ComPtr;

// For each EXIF orientation (0 when not read), how the stored picture is read upright:
// bit 0 mirrors its columns, bit 1 its rows, bit 2 swaps rows and columns.
const int TURNS[] = {0, 0, 1, 3, 2, 4, 6, 7, 5};

// The first frame of the file (a Windows path) as premultiplied BGRA; 0 x 0 when WIC can't read it.
Image decoded(Text path)
{
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> source;
    UINT w = 0, h = 0;
    Image image;
    CoInitialize(NULL);
    CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    if (SUCCEEDED(factory->CreateDecoderFromFilename(std::wstring(path.begin(), path.end()).c_str(), NULL, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.Get(), &source)) &&
        SUCCEEDED(source->GetSize(&w, &h))) {
        image.width = w;
        image.height = h;
        image.pixels.resize(static_cast<size_t>(w) * h);
        source->CopyPixels(NULL, w * 4, w * h * 4, reinterpret_cast<BYTE *>(image.pixels.data()));
    }
    return image;
}

} // namespace

HBITMAP loadPicture(Text path)
{
    if (HANDLE bitmap = LoadImageA(NULL, windowsPath(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE))
        return static_cast<HBITMAP>(bitmap);
    const Image from = decoded(path);
    const int t = TURNS[turn];
    Image upright = from;
    if (t & 4)
        std::swap(upright.width, upright.height);
    for (int y = 0; y < upright.height; ++y)
        for (int x = 0; x < upright.width; ++x) {
            const int a = t & 4 ? y : x;
            const int b = t & 4 ? x : y;
            const uint32_t p = from.at(t & 1 ? from.width - 1 - a : a, t & 2 ? from.height - 1 - b : b);
            // Over white: each colour plus 255 - alpha, never past 255 as colours are premultiplied.
            upright.pixels[y * upright.width + x] = (p & 0xFFFFFF) + (255 - (p >> 24)) * 0x010101;
        }
    return CreateBitmap(upright.width, upright.height, 1, 32, upright.pixels.data());
}

} // namespace e2e
