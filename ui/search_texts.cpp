#include "ui/search_texts.h"

#include "platform/text/gbk_literal.h"
#include "platform/base/random.h"

namespace tarnwell {

Text ProgressText(const Text& wantedName) {
  SeedRandom();
  const int speed = RandomInRange(1, 5000);
  return Concat("请稍后，正在搜索"_gbk, wantedName, "  加速"_gbk, NumberToText(speed));
}

Text CompletionText(int rows, std::uint64_t unreadFolders) {
  Text text = Concat("搜索完毕！共搜索到文件"_gbk, NumberToText(rows), "个."_gbk);
  if (unreadFolders > 0) text += Concat("（有"_gbk, std::to_string(unreadFolders), "个文件夹无法读取）"_gbk);
  return text;
}

}  // namespace tarnwell
