#include "pictures/system_icon_win.h"

#include <windows.h>
#include <commctrl.h>
#include <commoncontrols.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "platform/base/com_pointer_win.h"
#include "platform/base/unique_handle_win.h"
#include "platform/files/long_path_win.h"

namespace tarnwell {
namespace {

struct IconTraits : NullWhenAbsent<HICON> {
  static void Close(pointer value) { DestroyIcon(value); }
};
using UniqueIcon = UniqueAny<IconTraits>;

// IImageList's interface id, which MinGW's libraries leave out.
constexpr GUID kImageListId{0x46EB5926, 0x582E, 0x4017, {0x9F, 0xDF, 0xE8, 0x99, 0x8D, 0xAA, 0x09, 0x50}};

UniqueIcon TypeIcon(const std::wstring& path) {
  SHFILEINFOW info{};
  const UINT flags = SHGFI_USEFILEATTRIBUTES;
  if (SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags | SHGFI_SYSICONINDEX)) {
    ComPointer<IImageList> list;
    HICON icon = nullptr;
    if (SUCCEEDED(SHGetImageList(SHIL_EXTRALARGE, kImageListId, list.putVoid())) &&
        SUCCEEDED(list->GetIcon(info.iIcon, ILD_TRANSPARENT, &icon)) && icon) {
      return UniqueIcon(icon);
    }
  }
  info = {};
  if (SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags | SHGFI_ICON | SHGFI_LARGEICON)) {
    return UniqueIcon(info.hIcon);
  }
  return {};
}

}  // namespace

Picture SystemIconPicture(std::string_view path, int side, std::uint32_t background) {
  Picture picture;
  const UniqueIcon icon = TypeIcon(PlainPathOf(Win32PathOf(path)));
  if (!icon || side <= 0) return picture;
  ICONINFO info{};
  int iconSide = 32;
  if (GetIconInfo(icon.get(), &info)) {
    BITMAP bitmap{};
    if (GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap)) iconSide = bitmap.bmWidth;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  iconSide = std::min(iconSide, side);

  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = side;
  format.bmiHeader.biHeight = -side;  // rows top to bottom
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP surface = dc ? CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (surface && bits) {
    HGDIOBJ old = SelectObject(dc, surface);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    std::fill(pixels, pixels + side * side, background);
    const int at = (side - iconSide) / 2;
    DrawIconEx(dc, at, at, icon.get(), iconSide, iconSide, 0, nullptr, DI_NORMAL);
    GdiFlush();
    picture.width = picture.height = side;
    picture.pixels.assign(pixels, pixels + side * side);
    for (std::uint32_t& pixel : picture.pixels) pixel |= 0xFF000000u;
    SelectObject(dc, old);
  }
  if (surface) DeleteObject(surface);
  if (dc) DeleteDC(dc);
  return picture;
}

}  // namespace tarnwell
