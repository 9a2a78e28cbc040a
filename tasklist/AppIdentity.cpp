#include "tasklist/AppIdentity.h"

#include "base/ComPtr.h"
#include "base/ProcAddress.h"
#include "base/SystemLibrary.h"

#include <propsys.h>
#include <shobjidl.h>

namespace tasklist {
namespace {

// Spelt out here, so that the product links no GUID library for them.
constexpr GUID kAppsFolder = {0x1e87508d, 0x89c2, 0x42f0, {0x8a, 0x7e, 0x64, 0x5a, 0x0f, 0x50, 0xca, 0x58}};
constexpr PROPERTYKEY kAppUserModelId = {{0x9f4c2855, 0x9f79, 0x4b39, {0xa8, 0xd0, 0xe1, 0xd4, 0x2d, 0xe1, 0xd5, 0xf3}},
                                         5};
constexpr DWORD kDontVerify = 0x4000;  // KF_FLAG_DONT_VERIFY: the apps folder is virtual

// An icon drawn from the image; the image's alpha channel makes its outline, so the mask is blank.
TaskIcon IconFrom(HBITMAP image, int size) {
  const base::unique_hbitmap owned(image);
  const base::unique_hbitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
  if (!mask) return {};
  ICONINFO info{TRUE, 0, 0, mask.get(), owned.get()};
  return TaskIcon::Owned(base::unique_hicon(::CreateIconIndirect(&info)), IconSource::kAppIdentity);
}

}  // namespace

AppIdentity::AppIdentity() : shell32_(base::LoadSystemLibrary("shell32.dll")) {
  if (!com_.Usable()) return;
  propertyStoreForWindow_ = base::ProcAddress<PropertyStoreForWindowFn>(shell32_.get(), "SHGetPropertyStoreForWindow");
  itemInKnownFolder_ = base::ProcAddress<ItemInKnownFolderFn>(shell32_.get(), "SHCreateItemInKnownFolder");
}

std::wstring AppIdentity::IdOf(HWND wnd) const {
  base::ComPtr<IPropertyStore> store;
  if (!propertyStoreForWindow_ || FAILED(propertyStoreForWindow_(wnd, __uuidof(IPropertyStore), store.Out())) ||
      !store) {
    return {};
  }
  PROPVARIANT value{};
  std::wstring id;
  if (SUCCEEDED(store->GetValue(kAppUserModelId, &value)) && value.vt == VT_LPWSTR && value.pwszVal) {
    id = value.pwszVal;
  }
  com_.Clear(value);
  return id;
}

TaskIcon AppIdentity::ImageOf(const std::wstring& appId, int size) const {
  base::ComPtr<IShellItemImageFactory> factory;
  if (appId.empty() || !itemInKnownFolder_ ||
      FAILED(itemInKnownFolder_(kAppsFolder, kDontVerify, appId.c_str(), __uuidof(IShellItemImageFactory),
                                factory.Out())) ||
      !factory) {
    return {};
  }
  HBITMAP image = nullptr;
  if (FAILED(factory->GetImage(SIZE{size, size}, SIIGBF_ICONONLY, &image)) || !image) return {};
  return IconFrom(image, size);
}

}  // namespace tasklist
