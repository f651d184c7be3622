#include "platform/base/failure.h"

#include <system_error>

#include "platform/text/gb18030_utf8.h"
#include "platform/text/gbk_literal.h"

namespace tarnwell {

Text SystemMessage(std::uint32_t code) {
  const std::string message = std::generic_category().message(static_cast<int>(code));
  if (message.empty()) return Concat("错误代码 "_gbk, std::to_string(code));
  return Utf8ToGb18030(message);
}

}  // namespace tarnwell
