// YBXOptoraMonitor: samples how much of one view is visible, on a schedule of
// intervals (the last one repeats; a non-positive one ends the schedule after
// one last sample), and tells its delegate (YBXOptoraMonitorDelegate, held
// weakly) after each sample. Sampling, the timer and the delegate call run on
// the main thread; the last rectangle, verdict and the delegate live on the
// monitor's lock queue (reads wait, writes do not).
#pragma once

#include <cstdint>
#include <memory>

#include "adlib/foundation/selectors.h"
#include "platform/foundation/timer.h"

namespace adlib {

inline constexpr const char* kYBXOptoraMonitorQueueLabel = "com.orvane.marlex.optora-monitor";

class YBXOptoraMonitor : public NSObject {
public:
    ~YBXOptoraMonitor() override;

    // False (the initialiser answers nil) without a view or intervals.
    bool setUp(id view, const Value& refreshIntervals);

    // Each runs synchronously on the main thread.
    void startMonitoring();
    void sample();
    void stopMonitoring();

    double nextRefreshInterval();
    void updateViewBoundsTimerCallback();
    void updateViewBounds();

    Rect monitoredViewVisibleBounds();
    bool isMonitoredViewVisible();
    Ref<Object> delegate();
    void setMonitoredViewVisibleBounds(Rect bounds);
    void setDelegate(id delegate);

    bool isEnabled() const { return optoraMonitorEnabled_; }
    bool hasPendingTick() const { return updateViewBoundsTimer_ != nullptr; }
    // For tests that drain the queue themselves.
    dispatch_queue_t lockQueue() const { return lockQueue_; }

private:
    void startOnMainThread();
    void stopOnMainThread();

    dispatch_queue_t lockQueue_ = nullptr;
    // Only on lockQueue_. Its blocks hold this and not the monitor, so that the
    // monitor never ends on the queue's thread, away from its timer.
    struct Guarded {
        WeakRef<Object> delegate;
        Rect monitoredViewVisibleBounds{};
        bool monitoredViewVisible = false;
    };
    std::shared_ptr<Guarded> guarded_ = std::make_shared<Guarded>();
    // Main thread.
    bool optoraMonitorEnabled_ = true;
    WeakRef<Object> monitoredView_;
    Value refreshIntervals_;
    std::uint64_t nextRefreshIntervalIndex_ = 0;
    Ref<NSTimer> updateViewBoundsTimer_;
};

void registerOptoraMonitorClass();

}  // namespace adlib
