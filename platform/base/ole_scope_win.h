// OLE (and the COM it includes) on the calling thread for a scope, as the
// shell's functions want it: a thread that has it already keeps it; what is
// started here is ended here.
#pragma once

#include <ole2.h>

namespace tarnwell {

class OleOnThisThread {
 public:
  OleOnThisThread() : started_(SUCCEEDED(OleInitialize(nullptr))) {}
  OleOnThisThread(const OleOnThisThread&) = delete;
  OleOnThisThread& operator=(const OleOnThisThread&) = delete;
  ~OleOnThisThread() {
    if (started_) OleUninitialize();
  }

  bool Started() const { return started_; }

 private:
  bool started_;
};

}  // namespace tarnwell
