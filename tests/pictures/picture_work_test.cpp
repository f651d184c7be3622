// The picture threads and their cache: what is wanted first is made first,
// what is no longer wanted is never begun, ending the work keeps nothing of
// what was being made, and the cache keeps within its bound by dropping
// what was used longest ago.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "pictures/picture_cache.h"
#include "pictures/picture_work.h"

namespace tarnwell {
namespace {

using namespace std::chrono_literals;

std::shared_ptr<MadePicture> PictureOf(int side) {
  auto made = std::make_shared<MadePicture>();
  made->picture.width = made->picture.height = side;
  made->picture.pixels.assign(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), 0xFF000000u);
  return made;
}

PictureRequest Request(const std::string& key) {
  PictureRequest request;
  request.key = key;
  return request;
}

// A maker that holds each picture until the test lets it go, and notes the
// order it was asked in. The work's threads hold it while they live.
struct HeldMaker : std::enable_shared_from_this<HeldMaker> {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> begun;
  std::vector<std::string> announced;
  int released = 0;

  PictureWork::Maker Maker() {
    return [self = shared_from_this(), this](const PictureRequest& request, const std::atomic<bool>&) {
      std::unique_lock lock(mutex);
      begun.push_back(request.key);
      changed.notify_all();
      const std::size_t mine = begun.size();
      changed.wait(lock, [&] { return released >= static_cast<int>(mine); });
      return std::shared_ptr<const MadePicture>(PictureOf(2));
    };
  }
  PictureWork::Made Made() {
    return [self = shared_from_this(), this](const std::string& key) {
      std::lock_guard lock(mutex);
      announced.push_back(key);
      changed.notify_all();
    };
  }
  void Release(int count) {
    std::lock_guard lock(mutex);
    released += count;
    changed.notify_all();
  }
  bool WaitFor(const std::function<bool()>& done) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, 10s, done);
  }
};

TEST(PictureWork, MakesWhatIsWantedNowAndDropsTheRest) {
  auto cache = std::make_shared<PictureCache>();
  cache->Keep("cached", PictureOf(2));
  auto maker = std::make_shared<HeldMaker>();
  PictureWork work(cache, maker->Maker(), maker->Made(), 1);
  work.Want({Request("a"), Request("b"), Request("c")});
  ASSERT_TRUE(maker->WaitFor([&] { return maker->begun.size() == 1; }));
  // Scrolled on while "a" is being made: "b" is no longer wanted.
  work.Want({Request("cached"), Request("d"), Request("c")});
  maker->Release(3);
  ASSERT_TRUE(maker->WaitFor([&] { return maker->announced.size() == 3; }));
  EXPECT_EQ(maker->begun, (std::vector<std::string>{"a", "d", "c"}));
  EXPECT_TRUE(cache->Holds("a"));
  EXPECT_FALSE(cache->Holds("b"));
}

TEST(PictureWork, EndingKeepsNothingOfWhatWasBeingMade) {
  auto cache = std::make_shared<PictureCache>();
  auto maker = std::make_shared<HeldMaker>();
  {
    PictureWork work(cache, maker->Maker(), maker->Made(), 2);
    work.Want({Request("a"), Request("b"), Request("c")});
    ASSERT_TRUE(maker->WaitFor([&] { return maker->begun.size() == 2; }));
  }  // ends at once, with both pictures still being made
  maker->Release(2);
  // The threads end after their pictures, letting go of the maker.
  for (int wait = 0; wait < 1000 && maker.use_count() > 1; ++wait) std::this_thread::sleep_for(10ms);
  ASSERT_EQ(maker.use_count(), 1);
  EXPECT_TRUE(maker->announced.empty());
  EXPECT_EQ(cache->BytesHeld(), 0u);
  EXPECT_EQ(maker->begun.size(), 2u);
}

TEST(PictureCache, KeepsWithinItsBoundDroppingTheLeastRecentlyUsed) {
  const std::size_t each = PictureOf(8)->Bytes();
  PictureCache cache(3 * each);
  cache.Keep("a", PictureOf(8));
  cache.Keep("b", PictureOf(8));
  cache.Keep("c", PictureOf(8));
  ASSERT_NE(cache.Find("a"), nullptr);  // "b" is now the one used longest ago
  cache.Keep("d", PictureOf(8));
  EXPECT_TRUE(cache.Holds("a"));
  EXPECT_FALSE(cache.Holds("b"));
  EXPECT_TRUE(cache.Holds("c") && cache.Holds("d"));
  cache.Keep("d", PictureOf(8));  // the same key again counts once
  EXPECT_EQ(cache.BytesHeld(), 3 * each);
  cache.Keep("huge", PictureOf(64));  // larger than the bound: not kept, nothing dropped for it
  EXPECT_FALSE(cache.Holds("huge"));
  EXPECT_EQ(cache.BytesHeld(), 3 * each);
}

}  // namespace
}  // namespace tarnwell
