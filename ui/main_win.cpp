// Program entry: the main window and its message loop.
#include <windows.h>

namespace {

constexpr int kOuterWidth = 760;
constexpr int kOuterHeight = 507;
constexpr wchar_t kClassName[] = L"TarnwellMainWindow";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  int left = (GetSystemMetrics(SM_CXSCREEN) - kOuterWidth) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - kOuterHeight) / 2;
  HWND window = CreateWindowExW(0, kClassName, L"Tarnwell", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                left, top, kOuterWidth, kOuterHeight, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, showCommand);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Esc closes the window wherever the focus is.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
      PostMessageW(window, WM_CLOSE, 0, 0);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
