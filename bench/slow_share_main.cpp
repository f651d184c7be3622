// A small FUSE file system for the benchmark's slow-storage case: it shows a
// folder of the disk, read only, the way a share shows it: every lookup of a
// name, every open (of a folder or a file) and every read of a folder's
// listing is answered after a given wait, as a share answers each request
// after a network round trip. A folder costs an open and two listing reads
// (the second one finds the end), as a share's folder costs a create and
// two directory queries. Attributes and reads of a file's bytes come at once.
//
// Requests wait side by side, as a share keeps many in flight: each answer
// is made at once and held by one thread that sends it when its time has
// come. The kernel keeps the names it has looked up (as a share's client
// keeps what it has seen), so after a first pass only the opens and the
// listing reads wait.
//
// Usage: slow_share SOURCE MOUNTPOINT MICROSECONDS
// Serves until SIGINT, SIGTERM or SIGHUP (the last two also come when the
// process that started it ends), then unmounts. Exits with 3 when the file
// system cannot be mounted.
#define FUSE_USE_VERSION 34
#include <dirent.h>
#include <fcntl.h>
#include <fuse_lowlevel.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Answers held until their time has come, in the order they were made (all
// wait alike, so that is also the order they are due).
class Answers {
 public:
  explicit Answers(Clock::duration wait) : wait_(wait) {}

  void Later(std::function<void()> answer) {
    if (wait_ <= Clock::duration::zero()) {
      answer();
      return;
    }
    std::lock_guard lock(mutex_);
    held_.emplace_back(Clock::now() + wait_, std::move(answer));
    changed_.notify_one();
  }

  // Sends the answers as they come due, until Finish and the last is sent.
  void Serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (held_.empty()) {
        if (finishing_) return;
        changed_.wait(lock);
        continue;
      }
      const Clock::time_point due = held_.front().first;
      if (Clock::now() < due) {
        changed_.wait_until(lock, due);
        continue;
      }
      std::function<void()> answer = std::move(held_.front().second);
      held_.pop_front();
      lock.unlock();
      answer();
      lock.lock();
    }
  }

  void Finish() {
    std::lock_guard lock(mutex_);
    finishing_ = true;
    changed_.notify_one();
  }

 private:
  const Clock::duration wait_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::pair<Clock::time_point, std::function<void()>>> held_;
  bool finishing_ = false;
};

struct Entry {
  std::string name;
  ino_t ino;
  mode_t type;
};

// The file system: the source folder, and a node number for every path
// looked up (relative to the source, "" for its root, which is node 1).
// Handlers run on the one thread of the session's loop, so the nodes need
// no lock.
struct Share {
  std::string source;
  Answers* answers = nullptr;
  std::vector<std::string> paths{"", ""};  // node 0 is none
  std::unordered_map<std::string, fuse_ino_t> nodes{{"", 1}};

  std::string Path(fuse_ino_t node) const { return node < paths.size() ? paths[node] : std::string(); }
  std::string OnDisk(const std::string& path) const { return path.empty() ? source : source + "/" + path; }
  fuse_ino_t Node(const std::string& path) {
    auto [at, added] = nodes.emplace(path, paths.size());
    if (added) paths.push_back(path);
    return at->second;
  }
};

Share& The(fuse_req_t request) { return *static_cast<Share*>(fuse_req_userdata(request)); }

constexpr double kKept = 86400;  // seconds the kernel keeps names and attributes

void Lookup(fuse_req_t request, fuse_ino_t parent, const char* name) {
  Share& share = The(request);
  const std::string path = share.Path(parent).empty() ? name : share.Path(parent) + "/" + name;
  fuse_entry_param entry{};
  if (lstat(share.OnDisk(path).c_str(), &entry.attr) != 0) {
    const int error = errno;
    share.answers->Later([request, error] { fuse_reply_err(request, error); });
    return;
  }
  entry.ino = share.Node(path);
  entry.attr.st_ino = entry.ino;
  entry.attr_timeout = kKept;
  entry.entry_timeout = kKept;
  share.answers->Later([request, entry] { fuse_reply_entry(request, &entry); });
}

void GetAttributes(fuse_req_t request, fuse_ino_t node, fuse_file_info*) {
  Share& share = The(request);
  struct stat attributes {};
  if (lstat(share.OnDisk(share.Path(node)).c_str(), &attributes) != 0) {
    fuse_reply_err(request, errno);
    return;
  }
  attributes.st_ino = node;
  fuse_reply_attr(request, &attributes, kKept);
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// A folder's listing is read whole when it is opened; its reads hand it out.
void OpenFolder(fuse_req_t request, fuse_ino_t node, fuse_file_info* file) {
  Share& share = The(request);
  std::unique_ptr<DIR, DirCloser> dir(opendir(share.OnDisk(share.Path(node)).c_str()));
  if (!dir) {
    const int error = errno;
    share.answers->Later([request, error] { fuse_reply_err(request, error); });
    return;
  }
  auto entries = std::make_unique<std::vector<Entry>>();
  while (dirent* entry = readdir(dir.get())) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    entries->push_back({entry->d_name, entry->d_ino, static_cast<mode_t>(DTTOIF(entry->d_type))});
  }
  file->fh = reinterpret_cast<std::uint64_t>(entries.release());
  const fuse_file_info opened = *file;
  share.answers->Later([request, opened] { fuse_reply_open(request, &opened); });
}

void ReadFolder(fuse_req_t request, fuse_ino_t, std::size_t size, off_t offset, fuse_file_info* file) {
  const auto& entries = *reinterpret_cast<const std::vector<Entry>*>(file->fh);
  std::vector<char> buffer(size);
  std::size_t used = 0;
  for (std::size_t i = static_cast<std::size_t>(offset); i < entries.size(); ++i) {
    struct stat attributes {};
    attributes.st_ino = entries[i].ino;
    attributes.st_mode = entries[i].type;
    const std::size_t added = fuse_add_direntry(request, buffer.data() + used, size - used, entries[i].name.c_str(),
                                                &attributes, static_cast<off_t>(i + 1));
    if (added > size - used) break;
    used += added;
  }
  buffer.resize(used);
  The(request).answers->Later([request, buffer = std::move(buffer)] {
    fuse_reply_buf(request, buffer.data(), buffer.size());
  });
}

void ReleaseFolder(fuse_req_t request, fuse_ino_t, fuse_file_info* file) {
  delete reinterpret_cast<std::vector<Entry>*>(file->fh);
  fuse_reply_err(request, 0);
}

void Open(fuse_req_t request, fuse_ino_t node, fuse_file_info* file) {
  Share& share = The(request);
  const int fd = open(share.OnDisk(share.Path(node)).c_str(), O_RDONLY);
  if (fd < 0) {
    const int error = errno;
    share.answers->Later([request, error] { fuse_reply_err(request, error); });
    return;
  }
  file->fh = static_cast<std::uint64_t>(fd);
  const fuse_file_info opened = *file;
  share.answers->Later([request, opened] { fuse_reply_open(request, &opened); });
}

void Read(fuse_req_t request, fuse_ino_t, std::size_t size, off_t offset, fuse_file_info* file) {
  std::vector<char> buffer(size);
  const ssize_t read = pread(static_cast<int>(file->fh), buffer.data(), size, offset);
  if (read < 0) {
    fuse_reply_err(request, errno);
    return;
  }
  fuse_reply_buf(request, buffer.data(), static_cast<std::size_t>(read));
}

void Release(fuse_req_t request, fuse_ino_t, fuse_file_info* file) {
  close(static_cast<int>(file->fh));
  fuse_reply_err(request, 0);
}

void Forget(fuse_req_t request, fuse_ino_t, std::uint64_t) { fuse_reply_none(request); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s SOURCE MOUNTPOINT MICROSECONDS\n", argv[0]);
    return 2;
  }
  // The bench script that started it may end any way at all: then this
  // ends too, and unmounts on its way out.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  char* source = realpath(argv[1], nullptr);
  if (source == nullptr) {
    std::fprintf(stderr, "slow_share: %s: %s\n", argv[1], std::strerror(errno));
    return 2;
  }
  Share share;
  share.source = source;
  std::free(source);
  Answers answers(std::chrono::nanoseconds(static_cast<long long>(std::atof(argv[3]) * 1000)));
  share.answers = &answers;

  fuse_lowlevel_ops operations{};
  operations.lookup = Lookup;
  operations.forget = Forget;
  operations.getattr = GetAttributes;
  operations.opendir = OpenFolder;
  operations.readdir = ReadFolder;
  operations.releasedir = ReleaseFolder;
  operations.open = Open;
  operations.read = Read;
  operations.release = Release;

  char program[] = "slow_share", option[] = "-o", options[] = "ro,fsname=slow_share";
  char* arguments[] = {program, option, options};
  fuse_args args = FUSE_ARGS_INIT(3, arguments);
  fuse_session* session = fuse_session_new(&args, &operations, sizeof operations, &share);
  if (session == nullptr || fuse_set_signal_handlers(session) != 0) return 3;
  if (fuse_session_mount(session, argv[2]) != 0) {
    std::fprintf(stderr, "slow_share: %s could not be mounted\n", argv[2]);
    fuse_remove_signal_handlers(session);
    fuse_session_destroy(session);
    return 3;
  }
  std::thread sender([&answers] { answers.Serve(); });
  const int status = fuse_session_loop(session);
  answers.Finish();
  sender.join();
  fuse_session_unmount(session);
  fuse_remove_signal_handlers(session);
  fuse_session_destroy(session);
  return status == 0 ? 0 : 1;
}
