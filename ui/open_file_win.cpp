#include "ui/open_file_win.h"

#include "platform/text/gbk_literal.h"
#include "platform/window/message_box_win.h"

namespace tarnwell {

void OpenOrTell(bool (*open)(std::string_view), std::string_view path) {
  if (!open(path)) ShowMessageBox("文件路径太长，无法打开！"_gbk);
}

}  // namespace tarnwell
