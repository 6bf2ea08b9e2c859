// Runs a step when the scope ends, unless released first: a rollback written once, beside the
// change it undoes, instead of at every early return.
#pragma once

#include <utility>

namespace platform {

template <typename Step>
class [[nodiscard]] ScopeExit {
  public:
    explicit ScopeExit(Step step) noexcept : step_(std::move(step)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() {
        if (armed_)
            step_();
    }
    // The change is kept: the step no longer runs.
    void release() noexcept { armed_ = false; }

  private:
    Step step_;
    bool armed_ = true;
};

}  // namespace platform
