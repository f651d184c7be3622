#include "platform/files/profile.h"

#include <optional>

#include "platform/text/ini_file.h"
#include "platform/files/whole_file.h"

namespace tarnwell {
namespace {

// A settings file is a few hundred bytes; anything beyond this is no
// profile file of ours and is neither parsed nor rewritten.
constexpr std::size_t kMaxProfileBytes = 32 << 20;

std::string_view SkipLeadingControls(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
  return s;
}

Text FitBuffer(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  return Text(value.substr(0, kProfileValueBuffer - 1));
}

}  // namespace

Text ReadProfileValue(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view defaultValue) {
  file = SkipLeadingControls(file);
  section = SkipLeadingControls(section);
  key = SkipLeadingControls(key);
  if (file.empty() || section.empty() || key.empty()) return {};
  WholeFile whole = ReadWholeFile(file, kMaxProfileBytes);
  if (whole.status == ReadStatus::Read) {
    if (std::optional<Text> value = FindIniValue(whole.bytes, section, key)) return FitBuffer(*value);
  }
  while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
  return FitBuffer(defaultValue);
}

bool WriteProfileValue(std::string_view file, std::string_view section, std::string_view key,
                       std::string_view value) {
  file = SkipLeadingControls(file);
  section = SkipLeadingControls(section);
  key = SkipLeadingControls(key);
  if (file.empty() || section.empty() || key.empty()) return false;
  // A file that exists but cannot be read is left alone rather than replaced
  // by one that lost its other sections.
  WholeFile whole = ReadWholeFile(file, kMaxProfileBytes);
  if (whole.status == ReadStatus::Failed) return false;
  Text edited = SetIniValue(whole.bytes, section, key, value);
  if (whole.status == ReadStatus::Read && edited == whole.bytes) return true;  // nothing changes
  return ReplaceFileContents(file, edited);
}

}  // namespace tarnwell
