#include "platform/gbk_win.h"

#include <windows.h>

#include "platform/gbk.h"

namespace tarnwell {
namespace {

constexpr UINT kGbkCodePage = 936;

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
  return wide;
}

std::string FromWide(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return {};
  int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                   nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), length, nullptr,
                      nullptr);
  return bytes;
}

}  // namespace

std::wstring GbkToWide(std::string_view gbk) { return ToWide(kGbkCodePage, gbk); }

Text WideToGbk(std::wstring_view wide) { return FromWide(kGbkCodePage, wide); }

Text Utf8ToGbk(std::string_view utf8) { return WideToGbk(ToWide(CP_UTF8, utf8)); }

std::string GbkToUtf8(std::string_view gbk) { return FromWide(CP_UTF8, GbkToWide(gbk)); }

}  // namespace tarnwell
