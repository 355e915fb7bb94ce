#include "platform/background_writer.h"

#include <utility>

namespace platform {

void BackgroundWriter::Post(Job job) {
  {
    const std::lock_guard lock(mutex_);
    queued_.push_back(std::move(job));
  }
  changed_.notify_all();
  // Only the tick's thread posts, so only it starts the thread.
  if (!thread_.joinable()) thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

std::vector<WriteOutcome> BackgroundWriter::TakeFinished() {
  const std::lock_guard lock(mutex_);
  return std::exchange(finished_, {});
}

bool BackgroundWriter::Busy() const {
  const std::lock_guard lock(mutex_);
  return running_ || !queued_.empty();
}

void BackgroundWriter::WaitUntilIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !running_ && queued_.empty(); });
}

void BackgroundWriter::Run(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  for (;;) {
    // A stop ends the thread only once the queue is empty: what was handed over is written.
    changed_.wait(lock, stop, [this] { return !queued_.empty(); });
    if (queued_.empty()) return;
    Job job = std::move(queued_.front());
    queued_.pop_front();
    running_ = true;
    lock.unlock();
    WriteOutcome outcome = job();
    job = nullptr;  // what the job owned goes on this thread, before the tick may look
    lock.lock();
    running_ = false;
    finished_.push_back(std::move(outcome));
    changed_.notify_all();
  }
}

}  // namespace platform
