// Listing with FindFirstFileExW: the basic information level (no short 8.3
// names to fill in) and large fetches (fewer round trips per folder) make one
// pass over a folder as cheap as Windows allows. The path goes through
// Win32PathOf, so folders deeper than the classic 260-character limit list too.
#include <windows.h>

#include "platform/files/directory_listing.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/files/long_path_win.h"
#include "platform/files/reparse_tag.h"
#include "platform/base/unique_handle_win.h"

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

// What a listing that could not start means: nothing there to list, or a
// folder that is there and would not be read.
ListingOutcome OutcomeOfFailedStart(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:  // also a drive root with no entry at all
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:  // a file, not a folder
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_NOT_READY:  // a drive with no medium
      return ListingOutcome::Missing;
    default:
      return ListingOutcome::Failed;
  }
}

class Win32Lister final : public DirectoryLister {
 public:
  ListingOutcome List(const Text& folder, DirectoryListing& listing) const override {
    listing.Clear();
    if (folder.empty()) return ListingOutcome::Missing;
    std::wstring pattern = Win32PathOf(folder + "\\*");
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
      const DWORD error = GetLastError();
      const ListingOutcome outcome = OutcomeOfFailedStart(error);
      if (outcome == ListingOutcome::Failed) listing.SetError(error);
      return outcome;
    }
    Text name;
    do {
      if (IsDotOrDotDot(data.cFileName)) continue;
      TextNameOf(data.cFileName, name);
      // With the reparse-point attribute the entry's reparse tag is in dwReserved0.
      const bool reparsePoint = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      listing.Add(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                  reparsePoint && !EntersReparseFolder(data.dwReserved0));
    } while (FindNextFileW(find.get(), &data));
    // The end of a folder is ERROR_NO_MORE_FILES; anything else stopped the
    // read before it (a network drop, a volume gone).
    const DWORD end = GetLastError();
    if (end == ERROR_NO_MORE_FILES) return ListingOutcome::Listed;
    listing.SetError(end);
    return ListingOutcome::Failed;
  }
};

}  // namespace

std::unique_ptr<DirectoryLister> NewFileSystemLister() { return std::make_unique<Win32Lister>(); }

}  // namespace tarnwell
