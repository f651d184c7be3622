// What a copy under way tells whoever started it, and what it asks of them:
// how many bytes have gone through, and whether to stop. The copy calls it on
// its own thread between the pieces of a file, so a stop is taken up within
// one piece, however large the file.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarnwell {

class CopyWatch {
 public:
  virtual ~CopyWatch() = default;

  // `bytes` more bytes have been copied, or read back by a verification.
  virtual void Copied(std::uint64_t bytes) = 0;
  // True once the copy should stop: it then leaves nothing of itself behind
  // and fails with the system's "request aborted" (ERROR_REQUEST_ABORTED).
  virtual bool StopWanted() = 0;
  // The copy is whole under its temporary name (given as a program path),
  // before it is read back and renamed into place. A test may spoil it here
  // to see the read-back catch that.
  virtual void CopyMade(std::string_view temporary) { static_cast<void>(temporary); }
  // A verified copy has been read back and holds the source's bytes.
  virtual void Verified() {}
};

}  // namespace tarnwell
