// Listing with FindFirstFileExW: the basic information level (no short 8.3
// names to fill in) and large fetches (fewer round trips per folder) make one
// pass over a folder as cheap as Windows allows. The path goes through
// Win32PathOf, so folders deeper than the classic 260-character limit list too.
#include <windows.h>

#include "platform/directory_listing.h"
#include "platform/gb18030_wide_win.h"
#include "platform/long_path_win.h"
#include "platform/reparse_tag.h"
#include "platform/unique_handle_win.h"

namespace tarnwell {
namespace {

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Most names are plain ASCII; those skip the conversion.
void TextNameOf(const wchar_t* wide, Text& name) {
  name.clear();
  for (const wchar_t* c = wide; *c != L'\0'; ++c) {
    if (*c >= 0x80) {
      name = WideToGb18030(wide);
      return;
    }
    name.push_back(static_cast<char>(*c));
  }
}

class Win32Lister final : public DirectoryLister {
 public:
  bool List(const Text& folder, DirectoryListing& listing) const override {
    listing.Clear();
    if (folder.empty()) return false;
    std::wstring pattern = Win32PathOf(folder + "\\*");
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return false;
    Text name;
    do {
      if (IsDotOrDotDot(data.cFileName)) continue;
      TextNameOf(data.cFileName, name);
      // With the reparse-point attribute the entry's reparse tag is in dwReserved0.
      const bool reparsePoint = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      listing.Add(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                  reparsePoint && !EntersReparseFolder(data.dwReserved0));
    } while (FindNextFileW(find.get(), &data));
    return true;
  }
};

}  // namespace

std::unique_ptr<DirectoryLister> NewFileSystemLister() { return std::make_unique<Win32Lister>(); }

}  // namespace tarnwell
