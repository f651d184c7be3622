#include "ui/picture_drawing_win.h"

#include <algorithm>

namespace tarnwell {
namespace {

BITMAPINFO FormatOf(const Picture& picture) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = picture.width;
  format.bmiHeader.biHeight = -picture.height;  // rows top to bottom
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  return format;
}

}  // namespace

void DrawPicture(HDC dc, const Picture& picture, int left, int top) {
  if (picture.Empty()) return;
  const BITMAPINFO format = FormatOf(picture);
  SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(picture.width), static_cast<DWORD>(picture.height), 0, 0, 0,
                    static_cast<UINT>(picture.height), picture.pixels.data(), &format, DIB_RGB_COLORS);
}

void DrawPictureStretched(HDC dc, const Picture& picture, const RECT& into) {
  if (picture.Empty()) return;
  const BITMAPINFO format = FormatOf(picture);
  const int oldMode = SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, into.left, into.top, into.right - into.left, into.bottom - into.top, 0, 0, picture.width,
                picture.height, picture.pixels.data(), &format, DIB_RGB_COLORS, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

RECT FittedRect(const Picture& picture, const RECT& box, bool enlarge) {
  const int boxWidth = box.right - box.left;
  const int boxHeight = box.bottom - box.top;
  if (picture.Empty() || boxWidth <= 0 || boxHeight <= 0) return {box.left, box.top, box.left, box.top};
  double scale = std::min(static_cast<double>(boxWidth) / picture.width, static_cast<double>(boxHeight) / picture.height);
  if (!enlarge) scale = std::min(scale, 1.0);
  const int width = std::max(1, static_cast<int>(picture.width * scale + 0.5));
  const int height = std::max(1, static_cast<int>(picture.height * scale + 0.5));
  const int left = box.left + (boxWidth - width) / 2;
  const int top = box.top + (boxHeight - height) / 2;
  return {left, top, left + width, top + height};
}

}  // namespace tarnwell
