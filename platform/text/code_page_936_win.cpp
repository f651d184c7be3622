// Code page 936 from Windows' own tables, strictly (see gb18030.h).
#include <windows.h>

#include <cstring>

#include "platform/text/gb18030.h"

namespace tarnwell {
namespace {

constexpr UINT kGbkCodePage = 936;

}  // namespace

bool DecodeCodePage936(std::string_view bytes, Utf16& out) {
  if (bytes.empty()) return true;
  const int size = static_cast<int>(bytes.size());
  const std::size_t start = out.size();
  out.resize(start + bytes.size());  // never more units than bytes
  int length = MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes.data(), size, out.data() + start, size);
  out.resize(start + static_cast<std::size_t>(length > 0 ? length : 0));
  return length > 0;
}

bool EncodeCodePage936(Utf16View wide, std::string& out) {
  if (wide.empty()) return true;
  const int size = static_cast<int>(wide.size());
  const std::size_t start = out.size();
  out.resize(start + 2 * wide.size());  // never more than two bytes a unit
  BOOL usedDefault = FALSE;
  int length = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data() + start,
                                   2 * size, nullptr, &usedDefault);
  // Windows writes U+F8F5 as the lone byte 0xFF, which no strict reading
  // takes back; that character takes its four-byte code instead.
  bool exact = length > 0 && !usedDefault && std::memchr(out.data() + start, 0xFF, static_cast<std::size_t>(length)) == nullptr;
  out.resize(exact ? start + static_cast<std::size_t>(length) : start);
  return exact;
}

}  // namespace tarnwell
