#include "handover.h"

#include <wincodec.h>

#include <algorithm>
#include <cwctype>
#include <vector>

namespace {

const wchar_t BMP_PATTERN[] = L"*.bmp";
const wchar_t BMP_ONLY[] = L"Bmp File (*.bmp)";
const wchar_t EXTENSION_SEPARATORS[] = L",;"; // Windows lists ".jpg,.jpeg", Wine ".jpg;.jpeg"

// Adds "*" and each extension of the list, in lower case, to patterns, unless it is there.
void addPatterns(std::wstring extensions, std::vector<std::wstring> &patterns)
{
    for (wchar_t &letter : extensions)
        letter = static_cast<wchar_t>(std::towlower(letter));
    std::wstring::size_type start = 0;
    while (start < extensions.size()) {
        std::wstring::size_type end = extensions.find_first_of(EXTENSION_SEPARATORS, start);
        if (end == std::wstring::npos)
            end = extensions.size();
        const std::wstring pattern = L"*" + extensions.substr(start, end - start);
        if (end > start && std::find(patterns.begin(), patterns.end(), pattern) == patterns.end())
            patterns.push_back(pattern);
        start = end + 1;
    }
}

// The file extensions of one decoder the imaging component lists.
void addDecoderPatterns(IUnknown *component, std::vector<std::wstring> &patterns)
{
    IWICBitmapCodecInfo *decoder = NULL;
    if (FAILED(component->QueryInterface(IID_PPV_ARGS(&decoder))))
        return;
    UINT length = 0;
    if (SUCCEEDED(decoder->GetFileExtensions(0, NULL, &length)) && length > 1) {
        std::wstring extensions(length, L'\0');
        if (SUCCEEDED(decoder->GetFileExtensions(length, extensions.data(), &length)))
            addPatterns(extensions.substr(0, extensions.find(L'\0')), patterns);
    }
    decoder->Release();
}

// BMP files, and the files of every decoder the imaging component has.
std::vector<std::wstring> picturePatterns()
{
    std::vector<std::wstring> patterns(1, BMP_PATTERN);
    IWICImagingFactory *factory = NULL;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return patterns;
    IEnumUnknown *decoders = NULL;
    if (SUCCEEDED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, &decoders))) {
        IUnknown *component = NULL;
        ULONG got = 0;
        while (decoders->Next(1, &component, &got) == S_OK) {
            addDecoderPatterns(component, patterns);
            component->Release();
        }
        decoders->Release();
    }
    factory->Release();
    return patterns;
}

// The full path of path, which may be relative to the current folder: an open-file dialog
// may change that folder later.
std::wstring fullPath(const std::wstring &path)
{
    const DWORD length = GetFullPathName(path.c_str(), 0, NULL, NULL);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathName(path.c_str(), length, full.data(), NULL);
    if (written == 0 || written >= length)
        return path;
    full.resize(written);
    return full;
}

bool isFile(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributes(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

std::wstring commandLinePicture(const wchar_t *commandLine)
{
    std::wstring named = commandLine != NULL ? commandLine : L"";
    const std::wstring::size_type first = named.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return std::wstring();
    named.erase(0, first);
    if (named[0] == L'"') {
        const std::wstring::size_type close = named.find(L'"', 1);
        named = named.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    } else {
        named.erase(named.find_last_not_of(L" \t") + 1);
    }
    const std::wstring full = fullPath(named);
    return isFile(full) ? full : std::wstring();
}

std::wstring droppedFile(HDROP drop)
{
    const UINT length = DragQueryFile(drop, 0, NULL, 0);
    std::wstring path(length + 1, L'\0');
    const UINT copied = length > 0 ? DragQueryFile(drop, 0, path.data(), length + 1) : 0;
    DragFinish(drop);
    path.resize(copied);
    return isFile(path) ? path : std::wstring();
}

std::wstring pictureFilter()
{
    std::wstring patterns;
    for (const std::wstring &pattern : picturePatterns())
        patterns += (patterns.empty() ? L"" : L";") + pattern;
    std::wstring filter = L"Pictures (" + patterns + L")";
    filter += L'\0';
    filter += patterns;
    filter += L'\0';
    filter += BMP_ONLY;
    filter += L'\0';
    filter += BMP_PATTERN;
    filter += L'\0';
    return filter;
}
