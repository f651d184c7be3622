#include "platform/base/wine.h"

#include <windows.h>

namespace tarnwell {

bool RunsUnderWine() {
  static const bool underWine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return underWine;
}

}  // namespace tarnwell
