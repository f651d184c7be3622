// Owned Win32 handles. A UniqueAny owns one handle of
// the kind its Traits describe (how to close it, which value means "none"),
// closes it when it goes away, and can be moved but not copied, so every
// handle is closed exactly once on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace tarnwell {

template <class Traits>
class UniqueAny {
 public:
  using pointer = typename Traits::pointer;

  UniqueAny() = default;
  explicit UniqueAny(pointer value) : value_(value) {}
  UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  ~UniqueAny() { reset(); }

  pointer get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Invalid(); }

  // Closes the handle held so far and takes `value` instead.
  void reset(pointer value = Traits::Invalid()) {
    pointer old = std::exchange(value_, value);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  // Gives the handle up without closing it.
  pointer release() { return std::exchange(value_, Traits::Invalid()); }
  // For functions that return a handle through an out parameter.
  pointer* put() {
    reset();
    return &value_;
  }

 private:
  pointer value_ = Traits::Invalid();
};

// The two ways a Win32 handle says "none"; each kind's traits add how it is closed.
template <class Handle>
struct NullWhenAbsent {
  using pointer = Handle;
  static pointer Invalid() { return nullptr; }
};
struct InvalidValueWhenAbsent {
  using pointer = HANDLE;
  static pointer Invalid() { return INVALID_HANDLE_VALUE; }
};

// Threads, processes, events, mappings.
struct KernelHandleTraits : NullWhenAbsent<HANDLE> {
  static void Close(pointer value) { CloseHandle(value); }
};

// CreateFileW's handles.
struct FileHandleTraits : InvalidValueWhenAbsent {
  static void Close(pointer value) { CloseHandle(value); }
};

// FindFirstFileExW's listings.
struct FindHandleTraits : InvalidValueWhenAbsent {
  static void Close(pointer value) { FindClose(value); }
};

using UniqueHandle = UniqueAny<KernelHandleTraits>;
using UniqueFile = UniqueAny<FileHandleTraits>;
using UniqueFindHandle = UniqueAny<FindHandleTraits>;

}  // namespace tarnwell
