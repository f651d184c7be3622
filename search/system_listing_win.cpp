// Whether the system lists one folder at a time: Wine does (its ntdll
// serialises every directory read of a process); Windows does not. Wine is
// known by the export it adds to ntdll.
#include <windows.h>

#include "search/listing_pool.h"

namespace tarnwell {

bool SystemListsOneFolderAtATime() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace tarnwell
