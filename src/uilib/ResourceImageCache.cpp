#include "ResourceImageCache.h"

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

void CResourceImageCache::Clear() noexcept {
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.pictures.clear();
}
