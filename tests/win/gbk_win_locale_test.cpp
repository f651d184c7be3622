// The GBK conversions at the Win32 edge must not depend on the system's code
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

TEST(GbkWin, CharactersOutsideGbkBecomeQuestionMarks) {
  EXPECT_EQ(WideToGbk(L"a\u0E01b"), "a?b");
  EXPECT_TRUE(GbkToWide("").empty());
}

}  // namespace
}  // namespace tarnwell
