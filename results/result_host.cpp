#include "results/result_host.h"

namespace tarnwell {
namespace {

// Each append opens the file, writes and closes it again.
class AppendsOneByOne final : public FileAppends {
 public:
  AppendsOneByOne(ResultHost& host, Text path) : host_(host), path_(std::move(path)) {}
  bool Append(std::string_view header, std::string_view bytes) override {
    return host_.AppendToFile(path_, header, bytes);
  }

 private:
  ResultHost& host_;
  Text path_;
};

}  // namespace

std::unique_ptr<FileAppends> ResultHost::AppendsTo(const Text& path) {
  return std::make_unique<AppendsOneByOne>(*this, path);
}

}  // namespace tarnwell
