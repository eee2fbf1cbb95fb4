#include "adlib/render/optora_monitor.h"

#include <cassert>

#include "adlib/foundation/macros.h"
#include "adlib/foundation/weak_timer.h"
#include "platform/uikit/application.h"
#include "platform/uikit/geometry.h"
#include "platform/uikit/screen.h"

namespace adlib {

namespace {

YBXOptoraMonitor* monitorOf(id self) { return as<YBXOptoraMonitor>(self); }

void checkMainThread() { assert(NSThread::isMainThread() && "the viewability monitor samples on the main thread"); }

// A rectangle without area shows nothing: it counts as no rectangle at all.
Rect visiblePart(const Rect& a, const Rect& b) {
    const Rect common = CGRectIntersection(a, b);
    if (common.isNull() || common.width() <= 0 || common.height() <= 0) return Rect{};
    return common;
}

bool isZero(const Rect& r) { return r == Rect{}; }

}  // namespace

YBXOptoraMonitor::~YBXOptoraMonitor() {
    // Called directly: the monitor is going and must not be handed out again.
    RunSynchronouslyOnMainThread([this] { stopOnMainThread(); });
}

bool YBXOptoraMonitor::setUp(id view, const Value& refreshIntervals) {
    if (!view || refreshIntervals.isNil()) return false;
    monitoredView_ = WeakRef<Object>(view);
    refreshIntervals_ = refreshIntervals.isArray() ? Value(refreshIntervals.array()) : refreshIntervals;
    optoraMonitorEnabled_ = true;
    nextRefreshIntervalIndex_ = 0;
    lockQueue_ = dispatch_queue_create(kYBXOptoraMonitorQueueLabel, DISPATCH_QUEUE_SERIAL);
    return true;
}

// --- schedule ---------------------------------------------------------------------------------------

double YBXOptoraMonitor::nextRefreshInterval() {
    if (!refreshIntervals_.isArray() || refreshIntervals_.array().empty()) return 0;
    const Value::Array& intervals = refreshIntervals_.array();
    // Past the end the last interval repeats.
    if (nextRefreshIntervalIndex_ >= intervals.size()) nextRefreshIntervalIndex_ = intervals.size() - 1;
    const Value& interval = intervals[nextRefreshIntervalIndex_];
    ++nextRefreshIntervalIndex_;
    return interval.isNumber() ? interval.doubleValue() : 0;
}

void YBXOptoraMonitor::startMonitoring() {
    Ref<YBXOptoraMonitor> protector(this);
    RunSynchronouslyOnMainThread([this] { startOnMainThread(); });
}

void YBXOptoraMonitor::startOnMainThread() {
    checkMainThread();
    if (!optoraMonitorEnabled_ || updateViewBoundsTimer_) return;
    const double interval = nextRefreshInterval();
    // The schedule ends here; the tick below still brings one last sample.
    if (!(interval > 0)) optoraMonitorEnabled_ = false;
    updateViewBoundsTimer_ = ybx_timerWithWeakTarget(TimerScheduling::unscheduled, interval, this,
                                                     sel_registerName(sel::updateViewBoundsTimerCallback_.name), Value(), false);
    if (updateViewBoundsTimer_) NSRunLoopAddTimer(updateViewBoundsTimer_.get(), NSRunLoopCommonModes);
}

void YBXOptoraMonitor::stopMonitoring() {
    Ref<YBXOptoraMonitor> protector(this);
    RunSynchronouslyOnMainThread([this] { stopOnMainThread(); });
}

void YBXOptoraMonitor::stopOnMainThread() {
    if (updateViewBoundsTimer_) updateViewBoundsTimer_->invalidate();
    updateViewBoundsTimer_ = nullptr;
}

void YBXOptoraMonitor::sample() {
    Ref<YBXOptoraMonitor> protector(this);
    RunSynchronouslyOnMainThread([this] {
        if (optoraMonitorEnabled_) updateViewBounds();
    });
}

void YBXOptoraMonitor::updateViewBoundsTimerCallback() {
    Ref<YBXOptoraMonitor> protector(this);
    stopMonitoring();
    updateViewBounds();
    startMonitoring();
}

// --- one sample -----------------------------------------------------------------------------------

void YBXOptoraMonitor::updateViewBounds() {
    checkMainThread();
    Ref<YBXOptoraMonitor> protector(this);
    Ref<Object> view = monitoredView_.lock();
    Ref<Object> window = view ? sel::window(view.get()) : nullptr;
    const long long state = sel::applicationState(UIApplication::sharedApplication());
    bool visible = view && !sel::isHidden(view.get()) && window && !sel::isHidden(window.get()) && state == UIApplicationStateActive;
    Rect rect{};
    if (window) {
        rect = sel::convertRect_toView_(view.get(), sel::bounds(view.get()), nullptr);
        for (Ref<Object> ancestor = sel::superview(view.get()); ancestor; ancestor = sel::superview(ancestor.get())) {
            visible = visible && !sel::isHidden(ancestor.get());
            if (!sel::clipsToBounds(ancestor.get())) continue;
            rect = visiblePart(sel::convertRect_toView_(ancestor.get(), sel::bounds(ancestor.get()), nullptr), rect);
            if (isZero(rect)) break;
        }
        // The window's own space: the screen's frame as the screen reports it,
        // which turns with the interface exactly when the window does.
        if (!isZero(rect)) rect = visiblePart(CGRectStandardize(sel::applicationFrame(UIScreen::mainScreen())), rect);
    }
    visible = visible && !isZero(rect);

    dispatch_async(lockQueue_, [guarded = guarded_, rect, visible] {
        guarded->monitoredViewVisibleBounds = rect;
        guarded->monitoredViewVisible = visible;
    });
    // Outside the queue: the delegate reads the monitor back.
    Ref<Object> delegate = this->delegate();
    if (delegate && respondsToSelector(delegate.get(), sel::didRefreshOptoraMonitor_.name)) sel::didRefreshOptoraMonitor_(delegate.get(), this);
}

// --- guarded state ----------------------------------------------------------------------------------

Rect YBXOptoraMonitor::monitoredViewVisibleBounds() {
    Rect bounds;
    dispatch_sync(lockQueue_, [&] { bounds = guarded_->monitoredViewVisibleBounds; });
    return bounds;
}

bool YBXOptoraMonitor::isMonitoredViewVisible() {
    bool visible = false;
    dispatch_sync(lockQueue_, [&] { visible = guarded_->monitoredViewVisible; });
    return visible;
}

Ref<Object> YBXOptoraMonitor::delegate() {
    Ref<Object> delegate;
    dispatch_sync(lockQueue_, [&] { delegate = guarded_->delegate.lock(); });
    return delegate;
}

void YBXOptoraMonitor::setMonitoredViewVisibleBounds(Rect bounds) {
    dispatch_async(lockQueue_, [guarded = guarded_, bounds] { guarded->monitoredViewVisibleBounds = bounds; });
}

void YBXOptoraMonitor::setDelegate(id delegate) {
    dispatch_async(lockQueue_, [guarded = guarded_, weak = WeakRef<Object>(delegate)] { guarded->delegate = weak; });
}

void registerOptoraMonitorClass() {
    ClassBuilder<YBXOptoraMonitor>("YBXOptoraMonitor", "NSObject")
        .method(sel::init, [](id) -> Ref<Object> { return nullptr; })
        .method(sel::initWithView_refreshIntervals_,
                [](id self, id view, Value intervals) -> Ref<Object> {
                    if (!monitorOf(self) || !monitorOf(self)->setUp(view, intervals)) return nullptr;
                    return Ref<Object>(self);
                })
        .method(sel::startMonitoring, [](id self) { monitorOf(self)->startMonitoring(); })
        .method(sel::sample, [](id self) { monitorOf(self)->sample(); })
        .method(sel::stopMonitoring, [](id self) { monitorOf(self)->stopMonitoring(); })
        .method(sel::nextRefreshInterval, [](id self) { return monitorOf(self)->nextRefreshInterval(); })
        .method(sel::updateViewBoundsTimerCallback_, [](id self, id) { monitorOf(self)->updateViewBoundsTimerCallback(); })
        .method(sel::updateViewBounds, [](id self) { monitorOf(self)->updateViewBounds(); })
        .method(sel::monitoredViewVisibleBounds, [](id self) { return monitorOf(self)->monitoredViewVisibleBounds(); })
        .method(sel::setMonitoredViewVisibleBounds_, [](id self, Rect bounds) { monitorOf(self)->setMonitoredViewVisibleBounds(bounds); })
        .method(sel::isMonitoredViewVisible, [](id self) { return monitorOf(self)->isMonitoredViewVisible(); })
        .method(sel::delegate, [](id self) { return monitorOf(self)->delegate(); })
        .method(sel::setDelegate_, [](id self, id delegate) { monitorOf(self)->setDelegate(delegate); });
}

}  // namespace adlib
