// The conversions at the Win32 edge must not depend on the system's code
// page: this runs under whatever locale Wine was started with.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "platform/gbk_literal.h"
#include "platform/gbk_win.h"

namespace tarnwell {
namespace {

TEST(GbkWin, RoundTripsThroughUtf16WhateverTheSystemCodePage) {
  Text gbk = "\xD5\xFD\xD4\xDA\xCB\xD1\xCB\xF7 D:\\\x95\x5C";  // 正在搜索 D:\昞
  std::wstring wide = GbkToWide(gbk);
  EXPECT_EQ(wide, L"\u6B63\u5728\u641C\u7D22 D:\\\u661E");
  EXPECT_EQ(WideToGbk(wide), gbk);
  EXPECT_EQ(Utf8ToGbk("正在搜索"), "\xD5\xFD\xD4\xDA\xCB\xD1\xCB\xF7");
  EXPECT_EQ(GbkToUtf8(gbk), "正在搜索 D:\\昞");
  EXPECT_EQ("信息："_gbk, "\xD0\xC5\xCF\xA2\xA3\xBA");
}

TEST(GbkWin, WindowTextSurvivesTheWideFunctions) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  Text gbk = "\xD5\xD5\xC6\xAC";  // 照片
  SetWindowTextW(edit, GbkToWide(gbk).c_str());
  wchar_t buffer[16]{};
  GetWindowTextW(edit, buffer, 16);
  EXPECT_EQ(WideToGbk(buffer), gbk);
  DestroyWindow(edit);
}

// Characters GBK lacks take their four-byte GB18030 codes, never "?": Thai,
// an emoji, and 䶮, which takes the four-byte code of the private-use
// character U+E863 that code page 936 holds at its GB18030 code FE 9F.
TEST(GbkWin, CharactersOutsideGbkTakeFourByteCodes) {
  EXPECT_EQ(WideToGbk(L"a\u0E01b"), "a\x81\x32\xCE\x39" "b");
  EXPECT_EQ(WideToGbk(L"\U0001F642"), "\x95\x30\x85\x32");
  EXPECT_EQ(WideToGbk(L"\u4DAE\uE863"), "\x83\x36\xCF\x39\xFE\x9F");
  EXPECT_EQ(WideToGbk(L"\u20AC"), "\x80");
  EXPECT_TRUE(GbkToWide("").empty());
}

// Every unit of UTF-16, lone surrogates too, reads back from its Text; every
// pair of bytes reads back from its UTF-16: with Windows' own code page 936.
TEST(GbkWin, EveryUnitAndEveryPairOfBytesComesBackExactly) {
  for (unsigned unit = 1; unit < 0x10000; ++unit) {
    std::wstring wide(1, static_cast<wchar_t>(unit));
    Text text = WideToGbk(wide);
    ASSERT_EQ(GbkToWide(text), wide) << unit;
    ASSERT_TRUE(unit == '?' || text.find('?') == Text::npos) << unit;
  }
  for (unsigned first = 0x80; first < 0x100; ++first) {
    for (unsigned second = 1; second < 0x100; ++second) {
      const Text bytes = {static_cast<char>(first), static_cast<char>(second)};
      ASSERT_EQ(WideToGbk(GbkToWide(bytes)), bytes) << first << " " << second;
    }
  }
}

}  // namespace
}  // namespace tarnwell
