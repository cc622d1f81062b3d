#include "data/flusher.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <string>
#include <thread>

namespace kelpie {

namespace {

class Flusher {
 public:
  Flusher() {
    pthread_atfork([] { instance().mutex_.lock(); }, [] { instance().mutex_.unlock(); },
                   [] {
                     // The child has no flusher thread: it starts its own when it needs one.
                     Flusher& f = instance();
                     // The parent's thread may be registered in the condition variables; it
                     // never leaves them in the child, and the next notify would wait for it
                     // for ever. The child starts them afresh.
                     new (&f.wake_) std::condition_variable;
                     new (&f.idle_) std::condition_variable;
                     f.thread_.detach();
                     f.running_ = false;
                     f.busy_ = false;
                     f.queue_.clear();
                     f.mutex_.unlock();
                   });
  }
  ~Flusher() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  static Flusher& instance() {
    static Flusher f;
    return f;
  }

  void push(std::string path) {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(path));
    if (!running_) {
      if (thread_.joinable()) thread_.detach();
      running_ = true;
      thread_ = std::thread([this] { run(); });
    }
    wake_.notify_all();
  }

  void wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
  }

 private:
  void run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (queue_.empty()) return;
      const std::string path = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
      lock.unlock();
      sync(path);
      lock.lock();
      busy_ = false;
      if (queue_.empty()) idle_.notify_all();
    }
  }

  static void sync(const std::string& folder) {
    const int dfd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
      ::fsync(dfd);
      ::close(dfd);
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::deque<std::string> queue_;
  std::thread thread_;
  bool running_ = false;
  bool busy_ = false;
  bool stop_ = false;
};

}  // namespace

void flushFolderInBackground(const std::filesystem::path& folder) {
  Flusher::instance().push(folder.string());
}

void waitForFlushes() { Flusher::instance().wait(); }

}  // namespace kelpie
