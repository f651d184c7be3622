// The conversions at the Win32 edge must not depend on the system's code
// page: this runs under whatever locale Wine was started with.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/text/gb18030_utf8.h"
#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"

namespace tarnwell {
namespace {

TEST(Gb18030Win, RoundTripsThroughUtf16WhateverTheSystemCodePage) {
  Text gbk = "\xD5\xFD\xD4\xDA\xCB\xD1\xCB\xF7 D:\\\x95\x5C";  // 正在搜索 D:\昞
  std::wstring wide = Gb18030ToWide(gbk);
  EXPECT_EQ(wide, L"\u6B63\u5728\u641C\u7D22 D:\\\u661E");
  EXPECT_EQ(WideToGb18030(wide), gbk);
  EXPECT_EQ(Utf8ToGb18030("正在搜索"), "\xD5\xFD\xD4\xDA\xCB\xD1\xCB\xF7");
  EXPECT_EQ(Gb18030ToUtf8(gbk), "正在搜索 D:\\昞");
  EXPECT_EQ("信息："_gbk, "\xD0\xC5\xCF\xA2\xA3\xBA");
}

TEST(Gb18030Win, WindowTextSurvivesTheWideFunctions) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  Text gbk = "\xD5\xD5\xC6\xAC";  // 照片
  SetWindowTextW(edit, Gb18030ToWide(gbk).c_str());
  wchar_t buffer[16]{};
  GetWindowTextW(edit, buffer, 16);
  EXPECT_EQ(WideToGb18030(buffer), gbk);
  DestroyWindow(edit);
}

// Characters GBK lacks take their four-byte GB18030 codes, never "?": Thai,
// an emoji, and 䶮, which takes the four-byte code of the private-use
// character U+E863 that code page 936 holds at its GB18030 code FE 9F.
TEST(Gb18030Win, CharactersOutsideGbkTakeFourByteCodes) {
  EXPECT_EQ(WideToGb18030(L"a\u0E01b"), "a\x81\x32\xCE\x39" "b");
  EXPECT_EQ(WideToGb18030(L"\U0001F642"), "\x95\x30\x85\x32");
  EXPECT_EQ(WideToGb18030(L"\u4DAE\uE863"), "\x83\x36\xCF\x39\xFE\x9F");
  EXPECT_EQ(WideToGb18030(L"\u20AC"), "\x80");
  EXPECT_TRUE(Gb18030ToWide("").empty());
}

// Every unit of UTF-16, lone surrogates too, reads back from its Text; every
// pair of bytes reads back from its UTF-16: with Windows' own code page 936.
TEST(Gb18030Win, EveryUnitAndEveryPairOfBytesComesBackExactly) {
  for (unsigned unit = 1; unit < 0x10000; ++unit) {
    std::wstring wide(1, static_cast<wchar_t>(unit));
    Text text = WideToGb18030(wide);
    ASSERT_EQ(Gb18030ToWide(text), wide) << unit;
    ASSERT_TRUE(unit == '?' || text.find('?') == Text::npos) << unit;
  }
  for (unsigned first = 0x80; first < 0x100; ++first) {
    for (unsigned second = 1; second < 0x100; ++second) {
      const Text bytes = {static_cast<char>(first), static_cast<char>(second)};
      ASSERT_EQ(WideToGb18030(Gb18030ToWide(bytes)), bytes) << first << " " << second;
    }
  }
}

}  // namespace
}  // namespace tarnwell
