#pragma once
// For the benchmark and the test of the worker pool on one processor.
#include <sched.h>

#include <filesystem>
#include <string>

namespace qz::benchmarks {

// Every thread of the process held on one processor for the object's life, as the game is held
// for filters 0 to 3.
class OneProcessorProcess {
 public:
  OneProcessorProcess() {
    sched_getaffinity(0, sizeof(usual_), &usual_);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
      if (CPU_ISSET(cpu, &usual_)) {
        CPU_SET(cpu, &one);
        break;
      }
    }
    SetForEveryThread(one);
  }
  ~OneProcessorProcess() { SetForEveryThread(usual_); }
  OneProcessorProcess(const OneProcessorProcess&) = delete;
  OneProcessorProcess& operator=(const OneProcessorProcess&) = delete;

 private:
  static void SetForEveryThread(const cpu_set_t& set) {
    for (const auto& thread : std::filesystem::directory_iterator("/proc/self/task")) {
      sched_setaffinity(std::stoi(thread.path().filename().string()), sizeof(set), &set);
    }
  }

  cpu_set_t usual_;
};

}  // namespace qz::benchmarks
