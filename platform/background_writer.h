// BackgroundWriter: files written on a thread of their own, so that the 40 ms tick never
// waits for a disk. The tick hands over a job that owns everything it reads (bytes or a
// picture nobody else changes, and a path); the thread runs the jobs one after another in the
// order they came and keeps what each says, which the tick collects when it likes. Nothing
// else is shared, so there is nothing to race on.
//
// The thread starts with the first job and ends with the writer, after the last job queued:
// a game that quits has written everything it handed over.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace platform {

// What a finished job says: the file it wrote, or why it wrote none.
struct WriteOutcome {
  std::string written;  // the file's name, when it was written
  std::string problem;  // a sentence for the player, when it failed
  bool ok() const { return problem.empty(); }
};

class BackgroundWriter {
 public:
  using Job = std::function<WriteOutcome()>;

  BackgroundWriter() = default;
  // Runs every job still queued, then ends the thread.
  ~BackgroundWriter() = default;
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  void Post(Job job);
  // The outcomes of the jobs finished since the last call, in order.
  std::vector<WriteOutcome> TakeFinished();
  // Whether a job is queued or running.
  bool Busy() const;
  // Blocks until every job posted so far has finished.
  void WaitUntilIdle();

 private:
  void Run(std::stop_token stop);

  mutable std::mutex mutex_;
  std::condition_variable_any changed_;
  std::deque<Job> queued_;
  std::vector<WriteOutcome> finished_;
  bool running_ = false;  // a job is being run
  // Last, so that it ends (and joins) before the queue it reads goes.
  std::jthread thread_;
};

}  // namespace platform
