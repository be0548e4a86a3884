#include "ResourceImageCache.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

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

std::unique_ptr<Gdiplus::Bitmap> Decode(UINT imageId) {
    CImageDataStream data;
    if (!data.Load(imageId) || data.IsEmpty()) return nullptr;
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
}
