// An owned COM interface pointer: released exactly once, when its owner
// goes or takes another; moved, never copied.
#pragma once

#include <unknwn.h>

#include <utility>

namespace tarnwell {

template <class Interface>
class ComPointer {
 public:
  ComPointer() = default;
  explicit ComPointer(Interface* owned) : pointer_(owned) {}
  ComPointer(ComPointer&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPointer& operator=(ComPointer&& other) noexcept {
    if (this != &other) reset(std::exchange(other.pointer_, nullptr));
    return *this;
  }
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  ~ComPointer() { reset(); }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  void reset(Interface* owned = nullptr) {
    if (Interface* old = std::exchange(pointer_, owned)) old->Release();
  }
  // For functions that hand out an interface through an out parameter.
  Interface** put() {
    reset();
    return &pointer_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }

  // The object's interface `Other`, or null when it has none.
  template <class Other>
  ComPointer<Other> As() const {
    ComPointer<Other> other;
    if (pointer_) pointer_->QueryInterface(__uuidof(Other), other.putVoid());
    return other;
  }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace tarnwell
