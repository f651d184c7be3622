// Files and folders dropped on the real window. The tests hand the window's
// registered OLE drop target (the one the system calls during a drag) a data
// object carrying CF_HDROP, as the shell's would, at points over the
// controls: name lists fill the names box, a single folder sets the search
// path, and whatever is refused answers "no drop" and changes nothing.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <cstdint>
#include <initializer_list>
#include <new>

#include "platform/base/entry_guard.h"
#include "platform/text/gb18030_wide_win.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"
#include "ui/name_list_file.h"
#include "ui/settings_file.h"

namespace tarnwell::testing {
namespace {

using testing_support::LongForm;
using testing_support::MakeFolder;
using testing_support::PutFile;

// A data object that offers the paths as CF_HDROP only, as a drag from the shell does.
// COM objects are destroyed by their own Release, never through their interface.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class FileDrop final : public IDataObject {
 public:
  explicit FileDrop(std::vector<std::wstring> paths, bool throws = false)
      : paths_(std::move(paths)), throws_(throws) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
      *object = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }  // lives on the test's stack

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    if (throws_) throw std::bad_alloc();  // as a program's own code may, running out of memory
    std::wstring list;
    for (const std::wstring& path : paths_) list += path + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::vector<std::wstring> paths_;
  bool throws_;
  std::atomic<ULONG> references_{1};
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

struct DropOutcome {
  DWORD entered;  // the effect answered when the drag came in
  DWORD dropped;  // the effect answered for the drop
};

class Drops : public ProgramFixture {
 protected:
  // The target OLE calls for drags over the window (Windows and Wine keep it
  // in this window property).
  IDropTarget* Target() {
    return static_cast<IDropTarget*>(GetPropW(program->Window().Handle(), L"OleDropTargetInterface"));
  }
  // The centre of a control, in screen coordinates.
  static POINTL Over(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
  }
  // Drags the paths in at the point and drops them there, offering copy, move and link.
  DropOutcome DropAt(POINTL point, const std::vector<Text>& paths) {
    std::vector<std::wstring> wide;
    for (const Text& path : paths) wide.push_back(Gb18030ToWide(path));
    return DropWide(point, wide);
  }
  DropOutcome DropWide(POINTL point, const std::vector<std::wstring>& paths, bool throws = false) {
    FileDrop data(paths, throws);
    IDropTarget* target = Target();
    EXPECT_NE(target, nullptr);
    if (!target) return {};
    constexpr DWORD kOffered = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    DropOutcome outcome{kOffered, kOffered};
    target->DragEnter(&data, MK_LBUTTON, point, &outcome.entered);
    DWORD over = kOffered;
    target->DragOver(MK_LBUTTON, point, &over);
    EXPECT_EQ(over, outcome.entered);
    target->Drop(&data, 0, point, &outcome.dropped);
    return outcome;
  }
  Text Names() { return GetContent(C(Control::NamesBox)); }
  Text PathBox() { return GetContent(C(Control::PathBox)); }
};

TEST_F(Drops, ListsOfEveryEncodingFillTheNamesBoxAfterItsText) {
  ASSERT_NE(Target(), nullptr);
  EXPECT_EQ(RegisterDragDrop(program->Window().Handle(), Target()), DRAGDROP_E_ALREADYREGISTERED);
  const Text zhao = G("照");
  PutFile(tree / "bom.txt", "\xEF\xBB\xBF\xE7\x85\xA7.jpg\r\n\r\nutf8\n");
  PutFile(tree / "le.TXT", std::string("\xFF\xFEl\0e\0\r\0\n\0\x67\x71", 13));
  PutFile(tree / "be.txt", std::string("\xFE\xFF\0b\0e", 6));
  PutFile(tree / "gbk.txt", "\xD5\xD5gbk\r\nplain");
  PutFile(tree / "list.csv", "name,size\r\n\"a,b.jpg\",1\r\n\"two\r\nlines\",2\r\n\"say \"\"x\"\"\",3\r\n");
  SetContent(C(Control::NamesBox), "typed");
  EXPECT_TRUE(IsWindowVisible(C(Control::HintLabel)));

  DropOutcome outcome = DropAt(Over(C(Control::NamesBox)), {tree / "bom.txt", tree / "le.TXT", tree / "be.txt",
                                                            tree / "gbk.txt", tree / "list.csv"});
  EXPECT_EQ(outcome.entered, DWORD{DROPEFFECT_COPY});
  EXPECT_EQ(outcome.dropped, DWORD{DROPEFFECT_COPY});
  EXPECT_EQ(Names(), Concat("typed\r\n", zhao, ".jpg\r\nutf8\r\nle\r\n", zhao, "\r\nbe\r\n", zhao,
                            "gbk\r\nplain\r\nname\r\na,b.jpg\r\ntwo\r\nlines\r\nsay \"x\"\r\n"));
  EXPECT_FALSE(IsWindowVisible(C(Control::HintLabel)));

  // Dropped again, over the hint's corner of the box: appended after the last line.
  DropAt(Over(C(Control::HintLabel)), {tree / "be.txt"});
  EXPECT_TRUE(Names().ends_with("say \"x\"\r\nbe\r\n"));
}

// A list that cannot be read when it is dropped (here held by another
// program) is named in a box with the system's reason,
// once the drop has returned; the lists that could be read still count.
TEST_F(Drops, ListsThatCannotBeReadAreToldAndTheOthersStillCount) {
  PutFile(tree / "good.txt", "one\r\n");
  PutFile(tree / "held.txt", "two\r\n");
  HANDLE held = CreateFileW(LongForm(tree / "held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const DWORD thread = GetCurrentThreadId();
  auto box = std::async(std::launch::async, [thread] {
    HWND dialog = WaitForDialog(thread, 5000);
    if (!dialog) return std::wstring();
    wchar_t text[1024] = {};
    GetDlgItemTextW(dialog, 0xFFFF, text, 1024);  // a message box's text
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return std::wstring(text);
  });
  DropAt(Over(C(Control::NamesBox)), {tree / "good.txt", tree / "held.txt"});
  EXPECT_EQ(Names(), "one\r\n");  // nothing waits for the box
  PumpUntil([&] { return box.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10000);
  CloseHandle(held);
  const std::wstring told = box.get();
  EXPECT_EQ(told.substr(0, told.find(L'：') + 1), Gb18030ToWide(G("有1个名单文件未能读取：")));
  EXPECT_NE(told.find(Gb18030ToWide(Concat(tree / "held.txt", G("：")))), std::wstring::npos);
  EXPECT_GT(told.size(), Gb18030ToWide(Concat(G("有1个名单文件未能读取：\r\n"), tree / "held.txt", G("："))).size())
      << "the system's reason follows the path";
}

TEST_F(Drops, AFolderSetsTheSearchPathOnThePathBoxOrAnywhere) {
  MakeFolder(tree / G("照片"));
  DropOutcome outcome = DropAt(Over(C(Control::PathBox)), {tree / G("照片")});
  EXPECT_EQ(outcome.dropped, DWORD{DROPEFFECT_COPY});
  EXPECT_EQ(PathBox(), tree / G("照片"));
  EXPECT_EQ(ReadSetting(programFolder.path(), G("搜索路径")), tree / G("照片"));

  // On the result list, a drive root: held as "C:", as the browse button's choice.
  DropAt(Over(C(Control::ResultView)), {"C:\\"});
  EXPECT_EQ(PathBox(), "C:");
  EXPECT_EQ(ReadSetting(programFolder.path(), G("搜索路径")), "C:");
  // And on the names box: a folder is no list, it is the search path.
  DropAt(Over(C(Control::NamesBox)), {tree.path()});
  EXPECT_EQ(PathBox(), tree.path());
  EXPECT_EQ(Names(), "");
}

TEST_F(Drops, EverythingElseIsRefusedAndChangesNothing) {
  MakeFolder(tree / "one");
  MakeFolder(tree / "two");
  PutFile(tree / "photo.jpg", "not a list");
  PutFile(tree / "names.txt", "a\r\n");
  PutFile(tree / "noextension", "a\r\n");
  // A list larger than the program reads (sparse: no time spent writing it).
  const Text huge = tree / "huge.txt";
  PutFile(huge, "");
  {
    HANDLE file = CreateFileW(LongForm(huge).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{};
    size.QuadPart = static_cast<LONGLONG>(kMaxNameListBytes) + 1;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
  }

  SetContent(C(Control::NamesBox), "kept");
  SetContent(C(Control::PathBox), "D:\\old");
  const Text settings = ReadSetting(programFolder.path(), G("搜索路径"));
  const POINTL namesBox = Over(C(Control::NamesBox));
  const POINTL pathBox = Over(C(Control::PathBox));
  const POINTL list = Over(C(Control::ResultView));
  struct Case {
    const char* what;
    POINTL point;
    std::vector<std::wstring> paths;
  };
  auto wide = [](const Text& path) { return Gb18030ToWide(path); };
  const std::vector<Case> cases = {
      {"a picture on the names box", namesBox, {wide(tree / "photo.jpg")}},
      {"a file without extension", namesBox, {wide(tree / "noextension")}},
      {"a list on the path box", pathBox, {wide(tree / "names.txt")}},
      {"a list on the result list", list, {wide(tree / "names.txt")}},
      {"a list and a picture", namesBox, {wide(tree / "names.txt"), wide(tree / "photo.jpg")}},
      {"a list and a folder", namesBox, {wide(tree / "names.txt"), wide(tree / "one")}},
      {"two folders", pathBox, {wide(tree / "one"), wide(tree / "two")}},
      {"a missing file", namesBox, {wide(tree / "gone.txt")}},
      {"a list too large", namesBox, {wide(huge)}},
      {"nothing", namesBox, {}},
  };
  for (const Case& drop : cases) {
    DropOutcome outcome = DropWide(drop.point, drop.paths);
    EXPECT_EQ(outcome.entered, DWORD{DROPEFFECT_NONE}) << drop.what;
    EXPECT_EQ(outcome.dropped, DWORD{DROPEFFECT_NONE}) << drop.what;
  }
  EXPECT_EQ(Names(), "kept");
  EXPECT_EQ(PathBox(), "D:\\old");

  // A folder while the whole computer is searched: the path box takes no path.
  Click(Control::WholeComputerRadio);
  DropOutcome outcome = DropAt(pathBox, {tree / "one"});
  EXPECT_EQ(outcome.dropped, DWORD{DROPEFFECT_NONE});
  EXPECT_EQ(PathBox(), "D:\\old");
  EXPECT_EQ(ReadSetting(programFolder.path(), G("搜索路径")), settings);
}

// A fault inside the drag loop's calls never unwinds into the system: it is
// reported, the drag is refused, and the next drag is taken as before.
TEST_F(Drops, AFaultWhileLookingAtADragRefusesItAndIsReported) {
  PutFile(tree / "names.txt", "a\r\nb\r\n");
  const POINTL namesBox = Over(C(Control::NamesBox));
  const std::uint64_t caught = CaughtAtEntries();
  DropOutcome outcome = DropWide(namesBox, {Gb18030ToWide(tree / "names.txt")}, true);
  EXPECT_EQ(outcome.entered, DWORD{DROPEFFECT_NONE});
  EXPECT_EQ(outcome.dropped, DWORD{DROPEFFECT_NONE});
  EXPECT_EQ(CaughtAtEntries(), caught + 2);  // DragEnter and Drop each looked at the files
  EXPECT_EQ(Names(), "");
  outcome = DropAt(namesBox, {tree / "names.txt"});
  EXPECT_EQ(outcome.dropped, DWORD{DROPEFFECT_COPY});
  EXPECT_EQ(Names(), "a\r\nb\r\n");
}

}  // namespace
}  // namespace tarnwell::testing
