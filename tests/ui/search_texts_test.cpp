#include <gtest/gtest.h>

#include <string>

#include "platform/text/gbk_literal.h"
#include "ui/search_texts.h"

namespace tarnwell {
namespace {

TEST(ProgressText, NamesTheWantedNameAndANumberFromOneTo5000) {
  const Text prefix = "请稍后，正在搜索"_gbk + "张三"_gbk + "  加速"_gbk;
  for (int i = 0; i < 200; ++i) {
    const Text text = ProgressText("张三"_gbk);
    ASSERT_EQ(text.substr(0, prefix.size()), prefix);
    const int speed = std::stoi(text.substr(prefix.size()));
    ASSERT_GE(speed, 1);
    ASSERT_LE(speed, 5000);
    ASSERT_EQ(NumberToText(speed), text.substr(prefix.size()));
  }
}

}  // namespace
}  // namespace tarnwell
