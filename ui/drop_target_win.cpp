#include "ui/drop_target_win.h"

#include <shellapi.h>

#include <utility>

#include "platform/base/entry_guard.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/files/long_path_win.h"
#include "platform/files/whole_file.h"
#include "platform/text/gbk_literal.h"
#include "ui/name_list_file.h"

namespace tarnwell {
namespace {

// The dropped paths as the shell lists them; empty when the data holds none.
std::vector<std::wstring> DroppedPaths(IDataObject* data) {
  std::vector<std::wstring> paths;
  if (!data) return paths;
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return paths;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    auto drop = static_cast<HDROP>(medium.hGlobal);
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      UINT length = DragQueryFileW(drop, i, nullptr, 0);
      std::wstring path(length + 1, L'\0');
      path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
      paths.push_back(std::move(path));
    }
  }
  ReleaseStgMedium(&medium);
  return paths;
}

// The list format that the file's extension names, if any.
bool ListFormatOf(const std::wstring& path, NameListFormat& format) {
  auto dot = path.find_last_of(L".\\");
  if (dot == std::wstring::npos || path[dot] != L'.') return false;
  std::wstring extension = path.substr(dot);
  CharLowerBuffW(extension.data(), static_cast<DWORD>(extension.size()));
  if (extension == L".txt") {
    format = NameListFormat::Lines;
  } else if (extension == L".csv") {
    format = NameListFormat::Csv;
  } else {
    return false;
  }
  return true;
}

}  // namespace

HRESULT DropTarget::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG DropTarget::AddRef() { return ++references_; }

ULONG DropTarget::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

DropTarget::Dragged DropTarget::Inspect(IDataObject* data) {
  Dragged dragged;
  std::vector<std::wstring> paths = DroppedPaths(data);
  if (paths.empty()) return dragged;
  int folders = 0;
  unsigned long long listBytes = 0;
  for (const std::wstring& wide : paths) {
    // A path the program's text cannot spell would name another file.
    Text path = WideToGb18030(wide);
    if (Gb18030ToWide(path) != wide) return {};
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(Win32PathOf(path).c_str(), GetFileExInfoStandard, &attributes)) return {};
    NameListFormat format;
    if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ++folders;
    } else if (ListFormatOf(wide, format)) {
      listBytes += (static_cast<unsigned long long>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    } else {
      return {};
    }
    dragged.paths.push_back(std::move(path));
  }
  if (folders == 0 && listBytes <= kMaxNameListBytes) {
    dragged.kind = Kind::NameLists;
  } else if (folders == 1 && paths.size() == 1) {
    dragged.kind = Kind::Folder;
  } else {
    dragged.paths.clear();
  }
  return dragged;
}

DWORD DropTarget::Judge(POINTL point, DWORD allowed) const {
  if (!receiver_ || dragged_.kind == Kind::Refused) return DROPEFFECT_NONE;
  // Lists go to the names box only; a folder anywhere, the path box included.
  const bool taken = dragged_.kind == Kind::NameLists ? receiver_->OverNamesBox(POINT{point.x, point.y})
                                                      : receiver_->PathBoxEnabled();
  if (!taken) return DROPEFFECT_NONE;
  if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
  return DROPEFFECT_NONE;
}

// The system's drag loop calls these: nothing may unwind into it. A fault
// is reported (platform/entry_guard.h) and refuses the drop: the effect is
// none until a judgement is made.
HRESULT DropTarget::DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD allowed = std::exchange(*effect, DROPEFFECT_NONE);
  return CatchAtEntry("the drop target's DragEnter", E_UNEXPECTED, [&] {
    dragged_ = {};
    dragged_ = Inspect(data);
    *effect = Judge(point, allowed);
    return S_OK;
  });
}

HRESULT DropTarget::DragOver(DWORD, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD allowed = std::exchange(*effect, DROPEFFECT_NONE);
  return CatchAtEntry("the drop target's DragOver", E_UNEXPECTED, [&] {
    *effect = Judge(point, allowed);
    return S_OK;
  });
}

HRESULT DropTarget::DragLeave() {
  dragged_ = {};
  return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD allowed = std::exchange(*effect, DROPEFFECT_NONE);
  const HRESULT result = CatchAtEntry("the drop target's Drop", E_UNEXPECTED, [&] {
    // The files are looked at again: they may have changed while dragged.
    dragged_ = {};
    dragged_ = Inspect(data);
    const DWORD judged = Judge(point, allowed);
    if (judged != DROPEFFECT_NONE) Take();
    *effect = judged;
    return S_OK;
  });
  dragged_ = {};
  return result;
}

void DropTarget::Take() {
  if (dragged_.kind == Kind::Folder) {
    receiver_->SetSearchFolder(dragged_.paths.front());
    return;
  }
  TextList names;
  std::vector<Failure> unread;
  for (const Text& path : dragged_.paths) {
    NameListFormat format = NameListFormat::Lines;
    ListFormatOf(Gb18030ToWide(path), format);
    WholeFile file = ReadWholeFile(path, kMaxNameListBytes);
    if (file.status != ReadStatus::Read) {  // gone or locked since: the others still count
      unread.push_back(FailureOf("读取名单文件"_gbk, path, file.error));
      continue;
    }
    for (Text& name : NamesInListFile(file.bytes, format)) names.push_back(std::move(name));
  }
  if (!names.empty()) receiver_->AppendNames(names);
  if (!unread.empty()) receiver_->TellUnreadLists(unread);
}

}  // namespace tarnwell
