#include "ResourceImageCache.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

#include <wincodec.h>
#include <wrl/client.h>

#include "ImageDataStream.h"
#include "ModuleState.h"

namespace {
// A picture is the one decoded before only when it comes from the same bytes
// of the same library: another library loaded at the same address has other
// resource bytes.
using Key = std::tuple<HINSTANCE, UINT, const void*, DWORD>;

struct Cache {
    std::mutex lock;
    std::map<Key, std::unique_ptr<Gdiplus::Bitmap>> pictures;
    // The PNG decoder's class object, looked up in the registry once.
    Microsoft::WRL::ComPtr<IClassFactory> pngDecoders;
};

Cache& TheCache() {
    static Cache* const cache = new Cache();
    return *cache;
}

bool FindBytes(HINSTANCE module, UINT imageId, const void** bytes, DWORD* size) {
    if (!module) return false;
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(imageId), L"IMAGE");
    if (!info) return false;
    *size = ::SizeofResource(module, info);
    HGLOBAL loaded = *size ? ::LoadResource(module, info) : nullptr;
    *bytes = loaded ? ::LockResource(loaded) : nullptr;
    return *bytes != nullptr;
}

// The platform's PNG decoder, asked for by class: GDI+ finds a decoder by
// trying every registered one on the bytes, which costs a few dozen registry
// reads per picture.
constexpr CLSID kPngDecoder = {0x389ea17b, 0x5078, 0x4cde, {0xb6, 0xef, 0x25, 0xc1, 0x51, 0x75, 0xc7, 0x51}};
constexpr GUID kBgra32 = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};

// A picture whose pixels the decoder gives as straight 32-bit BGRA, the byte
// order of GDI+'s ARGB; null for anything else, which GDI+ then decodes.
Microsoft::WRL::ComPtr<IClassFactory> PngDecoders() {
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    if (!cache.pngDecoders)
        ::CoGetClassObject(kPngDecoder, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&cache.pngDecoders));
    return cache.pngDecoders;
}

std::unique_ptr<Gdiplus::Bitmap> DecodePng(IStream* stream) {
    const Microsoft::WRL::ComPtr<IClassFactory> decoders = PngDecoders();
    Microsoft::WRL::ComPtr<IWICBitmapDecoder> decoder;
    if (!decoders || FAILED(decoders->CreateInstance(nullptr, IID_PPV_ARGS(&decoder)))) return nullptr;
    Microsoft::WRL::ComPtr<IWICBitmapFrameDecode> frame;
    WICPixelFormatGUID format{};
    UINT width = 0, height = 0;
    if (FAILED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand)) || FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(frame->GetPixelFormat(&format)) || format != kBgra32 || FAILED(frame->GetSize(&width, &height)) ||
        width == 0 || height == 0 || width > 0x7FFF || height > 0x7FFF)
        return nullptr;
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(width), static_cast<INT>(height),
                                                    PixelFormat32bppARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return nullptr;
    const UINT stride = static_cast<UINT>(data.Stride);
    const HRESULT copied = frame->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(data.Scan0));
    bitmap->UnlockBits(&data);
    return SUCCEEDED(copied) ? std::move(bitmap) : nullptr;
}

std::unique_ptr<Gdiplus::Bitmap> Decode(UINT imageId) {
    CImageDataStream data;
    if (!data.Load(imageId) || data.IsEmpty()) return nullptr;
    if (std::unique_ptr<Gdiplus::Bitmap> png = DecodePng(data.Stream())) return png;
    LARGE_INTEGER start{};
    if (FAILED(data.Stream()->Seek(start, STREAM_SEEK_SET, nullptr))) return nullptr;
    std::unique_ptr<Gdiplus::Image> source(Gdiplus::Image::FromStream(data.Stream(), FALSE));
    if (!source || source->GetLastStatus() != Gdiplus::Ok) return nullptr;
    const INT w = static_cast<INT>(source->GetWidth());
    const INT h = static_cast<INT>(source->GetHeight());
    // A copy that owns its pixels: the decoder may read its stream lazily.
    auto copy = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat32bppARGB);
    if (copy->GetLastStatus() != Gdiplus::Ok) return nullptr;
    Gdiplus::Graphics graphics(copy.get());
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    if (graphics.DrawImage(source.get(), 0, 0, w, h) != Gdiplus::Ok) return nullptr;
    return copy;
}
}  // namespace

Gdiplus::Bitmap* CResourceImageCache::Get(UINT imageId, bool* found) {
    const HINSTANCE module = ModuleState::ResourceInstance();
    const void* bytes = nullptr;
    DWORD size = 0;
    const bool there = FindBytes(module, imageId, &bytes, &size);
    if (found) *found = there;
    if (!there) return nullptr;
    Cache& cache = TheCache();
    const Key key{module, imageId, bytes, size};
    {
        std::lock_guard<std::mutex> guard(cache.lock);
        const auto it = cache.pictures.find(key);
        if (it != cache.pictures.end()) return it->second.get();
    }
    std::unique_ptr<Gdiplus::Bitmap> picture = Decode(imageId);
    if (!picture) return nullptr;
    std::lock_guard<std::mutex> guard(cache.lock);
    auto& slot = cache.pictures[key];
    if (!slot) slot = std::move(picture);
    return slot.get();
}

bool CResourceImageCache::PngSize(const void* bytes, DWORD length, SIZE& size) noexcept {
    // Signature, then the header chunk: length, "IHDR", width, height (big-endian).
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto* data = static_cast<const unsigned char*>(bytes);
    if (!data || length < 24 || std::memcmp(data, kSignature, 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    auto read = [data](size_t at) {
        return (static_cast<DWORD>(data[at]) << 24) | (static_cast<DWORD>(data[at + 1]) << 16) |
               (static_cast<DWORD>(data[at + 2]) << 8) | static_cast<DWORD>(data[at + 3]);
    };
    const DWORD width = read(16);
    const DWORD height = read(20);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return false;
    size.cx = static_cast<LONG>(width);
    size.cy = static_cast<LONG>(height);
    return true;
}

bool CResourceImageCache::Size(UINT imageId, SIZE& size) {
    const void* bytes = nullptr;
    DWORD length = 0;
    if (!FindBytes(ModuleState::ResourceInstance(), imageId, &bytes, &length)) return false;
    if (PngSize(bytes, length, size)) return true;
    Gdiplus::Bitmap* image = Get(imageId);
    if (!image) return false;
    size.cx = static_cast<LONG>(image->GetWidth());
    size.cy = static_cast<LONG>(image->GetHeight());
    return true;
}

bool CResourceImageCache::Exists(UINT imageId) noexcept {
    const void* bytes = nullptr;
    DWORD size = 0;
    return FindBytes(ModuleState::ResourceInstance(), imageId, &bytes, &size);
}

void CResourceImageCache::Clear() noexcept {
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.pictures.clear();
    cache.pngDecoders.Reset();
}
