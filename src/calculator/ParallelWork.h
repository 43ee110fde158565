#pragma once

#include <cstddef>
#include <functional>

namespace vorn {

// How far a long piece of work has come: so many of so many done. Called on the thread that started
// the work, so that a window can show it.
using Progress = std::function<void(std::size_t done, std::size_t total)>;

// Runs work(i) for every i below `count`, several at once: reading and writing many character files is
// mostly waiting for the disk (a save waits for its data to be synced), and a disk serves several waits
// at a time far sooner than one after another. `work` must be safe to run on other threads for different
// i. Returns once every call has returned, having reported `progress` now and then and at the end.
void forEachAtOnce(std::size_t count, const std::function<void(std::size_t)>& work,
                   const Progress& progress = {});

} // namespace vorn
