#include "tests/win/support/program_fixture.h"

#include <commctrl.h>

#include <thread>

#include "platform/text/gb18030_wide_win.h"
#include "tests/win/support/window_test_support.h"

namespace tarnwell::testing {

void ProgramFixture::SetUp() {
  program = std::make_unique<Program>(programFolder.path());
  ASSERT_TRUE(program->Open(SW_SHOWNORMAL));
  PumpUntil([] { return false; }, 50);
}

void ProgramFixture::TearDown() {
  if (program) {
    DestroyWindow(program->Window().Handle());
    program.reset();
  }
}

void ProgramFixture::ReopenWith(const DirectoryLister& lister) {
  TearDown();
  // The closed window asked the thread to quit; the new one needs the queue without that request.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  program = std::make_unique<Program>(programFolder.path(), lister);
  ASSERT_TRUE(program->Open(SW_SHOWNORMAL));
}

void ProgramFixture::LogStatusChanges() {
  SetWindowSubclass(C(Control::StatusLabel), &ProgramFixture::StatusProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK ProgramFixture::StatusProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR self) {
  auto* fixture = reinterpret_cast<ProgramFixture*>(self);
  if (message == WM_SETTEXT) {
    fixture->statusChanges.push_back({WideToGb18030(reinterpret_cast<const wchar_t*>(lParam)),
                                      ListView_GetItemCount(fixture->C(Control::ResultView)),
                                      fixture->Rows().RowCount()});
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(label, &ProgramFixture::StatusProc, id);
  }
  return DefSubclassProc(label, message, wParam, lParam);
}

void ProgramFixture::Click(Control control) { SendMessageW(C(control), BM_CLICK, 0, 0); }

std::future<AnsweredBox> ProgramFixture::AnswerNextBox(int button, int timeoutMilliseconds) {
  DWORD thread = GetCurrentThreadId();
  return std::async(std::launch::async, [thread, button, timeoutMilliseconds] {
    AnsweredBox box;
    HWND dialog = WaitForDialog(thread, timeoutMilliseconds);
    if (!dialog) return box;
    box.shown = true;
    box.caption = WideToGb18030(WindowTextOf(dialog));
    // The message is the dialog's static text (id 0xFFFF).
    box.text = WideToGb18030(WindowTextOf(GetDlgItem(dialog, 0xFFFF)));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return box;
  });
}

std::future<std::vector<AnsweredBox>> ProgramFixture::AnswerBoxes(int count) {
  DWORD thread = GetCurrentThreadId();
  return std::async(std::launch::async, [thread, count] {
    std::vector<AnsweredBox> boxes;
    for (int i = 0; i < count; ++i) {
      HWND dialog = WaitForDialog(thread, 5000);
      if (!dialog) break;
      AnsweredBox box;
      box.shown = true;
      box.caption = WideToGb18030(WindowTextOf(dialog));
      box.text = WideToGb18030(WindowTextOf(GetDlgItem(dialog, 0xFFFF)));
      boxes.push_back(box);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      for (int wait = 0; wait < 500 && IsWindow(dialog); ++wait) Sleep(10);
    }
    return boxes;
  });
}

AnsweredBox ProgramFixture::ClickAndAnswer(Control control, int button) {
  auto answer = AnswerNextBox(button);
  Click(control);
  return answer.get();
}

void ProgramFixture::SearchFor(const char* namesUtf8, const Text& root, bool fuzzy) {
  SetContent(C(Control::NamesBox), Utf8ToGb18030(namesUtf8));
  if (fuzzy) Click(Control::FuzzyRadio);
  if (!root.empty()) {
    Click(Control::SpecifiedPathRadio);
    SetContent(C(Control::PathBox), root);
  }
  Click(Control::SearchButton);
}

bool ProgramFixture::WaitForStatus(const Text& expected, int timeoutMilliseconds) {
  return PumpUntil([&] { return Status() == expected; }, timeoutMilliseconds);
}

bool ProgramFixture::WaitForCompletion(int timeoutMilliseconds) {
  const Text prefix = G("搜索完毕！共搜索到文件");
  return PumpUntil([&] { return Status().rfind(prefix, 0) == 0; }, timeoutMilliseconds);
}

}  // namespace tarnwell::testing
