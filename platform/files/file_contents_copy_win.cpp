#include "platform/files/file_contents_copy_win.h"

#include <cstdint>
#include <cstring>

#include "platform/base/system_error_win.h"
#include "platform/base/unique_handle_win.h"
#include "platform/files/long_path_win.h"
#include "platform/text/gb18030_wide_win.h"

namespace tarnwell {
namespace {

// One piece: large enough that the system's per-call cost vanishes, small
// enough that even a slow drive (a few MB a second) finishes it, and so
// hears of a stop, well within a fifth of a second.
constexpr DWORD kPiece = 1 << 20;
constexpr DWORD kPage = 4096;

// The pieces a file of `bytes` is copied in: whole pieces for a large file;
// for a small one a piece that holds all of it and shows its end. Every page
// handed to a read costs (Wine touches each one of them before it reads, and
// fresh memory is made on the first touch), so a 4 KB file is not read into
// a megabyte. Whole pages, as reads that bypass the cache need.
DWORD PieceFor(std::uint64_t bytes) {
  const std::uint64_t pages = bytes / kPage + 1;
  return pages >= kPiece / kPage ? kPiece : static_cast<DWORD>(pages * kPage);
}

// Memory aligned to a page, as reads that bypass the cache need.
class PageBuffer {
 public:
  explicit PageBuffer(std::size_t size)
      : data_(static_cast<char*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
  PageBuffer(const PageBuffer&) = delete;
  PageBuffer& operator=(const PageBuffer&) = delete;
  ~PageBuffer() {
    if (data_) VirtualFree(data_, 0, MEM_RELEASE);
  }
  char* get() const { return data_; }

 private:
  char* data_;
};

bool Stop(const CopyOptions& options) { return options.watch && options.watch->StopWanted(); }

void Tell(const CopyOptions& options, DWORD bytes) {
  if (options.watch && bytes > 0) options.watch->Copied(bytes);
}

bool WriteAllOf(HANDLE file, const char* bytes, DWORD count) {
  while (count > 0) {
    DWORD written = 0;
    if (!WriteFile(file, bytes, count, &written, nullptr) || written == 0) return false;
    bytes += written;
    count -= written;
  }
  return true;
}

// Reads until `count` bytes are there or the file ends; gives how many came.
bool ReadUpTo(HANDLE file, char* bytes, DWORD count, DWORD& got) {
  got = 0;
  while (got < count) {
    DWORD part = 0;
    if (!ReadFile(file, bytes + got, count - got, &part, nullptr)) return false;
    if (part == 0) break;
    got += part;
  }
  return true;
}

enum class Piecework { Done, Stopped, Failed };

// Every byte of `from` from where it stands into `to`, in pieces of `piece`
// bytes; a piece that comes short is the file's end.
Piecework CopyBytes(HANDLE from, HANDLE to, char* buffer, DWORD piece, const CopyOptions& options) {
  for (;;) {
    if (Stop(options)) return Piecework::Stopped;
    DWORD got = 0;
    if (!ReadUpTo(from, buffer, piece, got)) return Piecework::Failed;
    if (!WriteAllOf(to, buffer, got)) return Piecework::Failed;
    Tell(options, got);
    if (got < piece) return Piecework::Done;
  }
}

// The named streams of a file (a download's zone mark, what other systems
// keep beside a file), as CopyFileEx takes them along. Where a stream cannot
// be read or the target cannot hold it (FAT), the file goes without it, as
// it would with the system's copy.
void CopyNamedStreams(const std::wstring& from, const std::wstring& to) {
  WIN32_FIND_STREAM_DATA stream{};
  HANDLE found = FindFirstStreamW(from.c_str(), FindStreamInfoStandard, &stream, 0);
  if (found == INVALID_HANDLE_VALUE) return;
  std::string buffer(64 * 1024, '\0');
  do {
    const std::wstring name = stream.cStreamName;
    if (name == L"::$DATA") continue;  // the file's own bytes
    UniqueFile source(CreateFileW((from + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
    if (!source) continue;
    UniqueFile target(CreateFileW((to + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!target) continue;
    DWORD got = 0;
    while (ReadFile(source.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
      if (!WriteAllOf(target.get(), buffer.data(), got)) break;
    }
  } while (FindNextStreamW(found, &stream));
  FindClose(found);
}

// Whether the new file holds the bytes of the source, read again from its
// start. The new file is read past the system's cache
// (FILE_FLAG_NO_BUFFERING, which wants page-aligned memory and whole
// pieces), so what is compared is what reached the disk.
Piecework ReadBack(HANDLE source, const std::wstring& copy, char* sourceBytes, DWORD piece, const CopyOptions& options,
                   bool& same) {
  same = false;
  PageBuffer copyBytes(piece);
  if (!copyBytes.get()) return Piecework::Failed;
  UniqueFile target(CreateFileW(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!target) return Piecework::Failed;
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(source, start, nullptr, FILE_BEGIN)) return Piecework::Failed;
  for (;;) {
    if (Stop(options)) return Piecework::Stopped;
    DWORD fromSource = 0;
    DWORD fromCopy = 0;
    if (!ReadUpTo(source, sourceBytes, piece, fromSource)) return Piecework::Failed;
    // Without the cache a read ends only at a whole piece or the file's end.
    if (!ReadFile(target.get(), copyBytes.get(), piece, &fromCopy, nullptr)) return Piecework::Failed;
    if (fromSource != fromCopy || std::memcmp(sourceBytes, copyBytes.get(), fromSource) != 0) return Piecework::Done;
    Tell(options, fromSource);
    if (fromSource < piece) break;  // both ended
  }
  same = true;
  return Piecework::Done;
}

}  // namespace

TemporaryCreation CopyFileContents(const std::wstring& from, const std::wstring& to, const CopyOptions& options,
                                   DWORD& attributes) {
  // Others may go on reading the source, or delete it (the bytes stay
  // readable through this handle); nobody may write it while it is copied.
  UniqueFile source(CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!source) return TemporaryCreation::Failed;
  // The times, attributes and size alone: the whole information would also
  // ask for the volume's serial number, which under Wine is a round trip to
  // another process for every file.
  FILE_BASIC_INFO basic{};
  FILE_STANDARD_INFO standard{};
  if (!GetFileInformationByHandleEx(source.get(), FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(source.get(), FileStandardInfo, &standard, sizeof standard)) {
    return TemporaryCreation::Failed;
  }
  if (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    SetLastError(ERROR_ACCESS_DENIED);  // as the system's copy says of a folder
    return TemporaryCreation::Failed;
  }
  const DWORD piece = PieceFor(static_cast<std::uint64_t>(standard.EndOfFile.QuadPart));
  PageBuffer buffer(piece);
  if (!buffer.get()) return TemporaryCreation::Failed;
  UniqueFile target(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!target) return GetLastError() == ERROR_FILE_EXISTS ? TemporaryCreation::NameTaken : TemporaryCreation::Failed;

  // From here on a failure removes the new file, keeping the reason.
  auto fail = [&](DWORD reason) {
    target.reset();
    DeleteFileW(to.c_str());
    SetLastError(reason);
    return TemporaryCreation::Failed;
  };
  const Piecework copied = CopyBytes(source.get(), target.get(), buffer.get(), piece, options);
  if (copied == Piecework::Stopped) return fail(ERROR_REQUEST_ABORTED);
  if (copied == Piecework::Failed) return fail(GetLastError());
  FILETIME lastWrite{static_cast<DWORD>(basic.LastWriteTime.LowPart), static_cast<DWORD>(basic.LastWriteTime.HighPart)};
  if (!SetFileTime(target.get(), nullptr, nullptr, &lastWrite)) return fail(GetLastError());
  // Closing may be when a network drive reports that the data did not arrive.
  if (!CloseHandle(target.release())) return fail(GetLastError());
  CopyNamedStreams(from, to);

  if (options.watch) options.watch->CopyMade(WideToGb18030(PlainPathOf(to)));
  if (options.verify) {
    bool same = false;
    const Piecework read = ReadBack(source.get(), to, buffer.get(), piece, options, same);
    if (read == Piecework::Stopped) return fail(ERROR_REQUEST_ABORTED);
    if (read == Piecework::Failed) return fail(GetLastError());
    if (!same) return fail(kCopyDiffers);
    if (options.watch) options.watch->Verified();
  }
  attributes = basic.FileAttributes;
  return TemporaryCreation::Created;
}

}  // namespace tarnwell
