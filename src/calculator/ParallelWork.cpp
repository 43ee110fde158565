#include "calculator/ParallelWork.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace vorn {
namespace {

// Enough waits in flight for the disk to group its syncs; more only add threads.
constexpr std::size_t kMostAtOnce = 8;
constexpr std::chrono::milliseconds kProgressEvery{40};

} // namespace

void forEachAtOnce(std::size_t count, const std::function<void(std::size_t)>& work, const Progress& progress)
{
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::mutex mutex;
    std::condition_variable finished;
    const auto worker = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            work(i);
            if (++done == count) {
                const std::lock_guard lock(mutex);
                finished.notify_all();
            }
        }
    };
    std::vector<std::thread> threads;
    const std::size_t helpers = std::min(count, kMostAtOnce);
    threads.reserve(helpers);
    for (std::size_t t = 0; t < helpers; ++t)
        threads.emplace_back(worker);
    {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, kProgressEvery, [&] { return done == count; })) {
            if (progress) {
                lock.unlock();
                progress(done, count);
                lock.lock();
            }
        }
    }
    for (std::thread& thread : threads)
        thread.join();
    if (progress)
        progress(count, count);
}

} // namespace vorn
