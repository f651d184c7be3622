#include "platform/window/taskbar_progress_win.h"

#include <shobjidl.h>

namespace tarnwell {
namespace {

class SystemTaskbar final : public TaskbarProgress {
 public:
  ~SystemTaskbar() override {
    if (list_) list_->Release();
  }

  void Show(HWND window, std::uint64_t done, std::uint64_t total) override {
    if (!Ready()) return;
    list_->SetProgressState(window, TBPF_NORMAL);
    list_->SetProgressValue(window, done, total);
  }

  void Clear(HWND window) override {
    if (list_) list_->SetProgressState(window, TBPF_NOPROGRESS);
  }

 private:
  // Made once; a system that refuses it is not asked again.
  bool Ready() {
    if (list_ || tried_) return list_ != nullptr;
    tried_ = true;
    ITaskbarList3* list = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&list))) ||
        !list) {
      return false;
    }
    if (FAILED(list->HrInit())) {
      list->Release();
      return false;
    }
    list_ = list;
    return true;
  }

  ITaskbarList3* list_ = nullptr;
  bool tried_ = false;
};

}  // namespace

std::unique_ptr<TaskbarProgress> SystemTaskbarProgress() { return std::make_unique<SystemTaskbar>(); }

}  // namespace tarnwell
