#include "platform/network/reachability.h"

#include <mutex>
#include <utility>
#include <vector>

namespace platform {

// Every live target, so that a change of connectivity reaches them. Context
// info is released and callbacks are called outside the lock, as either may
// release the last reference to a target or set another one up.
struct ReachabilityAccess {
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static std::vector<WeakRef<SCNetworkReachability>>& targets() {
        static std::vector<WeakRef<SCNetworkReachability>> all;
        return all;
    }
    static network::Connectivity& current() {
        static network::Connectivity connectivity = network::Connectivity::wifi;
        return connectivity;
    }

    static SCNetworkReachabilityRef make(bool byName) {
        Ref<SCNetworkReachability> target = as<SCNetworkReachability>(alloc("SCNetworkReachability").get());
        if (!target) return nullptr;
        std::lock_guard lock(mutex());
        target->byName_ = byName;
        std::erase_if(targets(), [](const WeakRef<SCNetworkReachability>& t) { return !t.lock(); });
        targets().emplace_back(target.get());
        return target;
    }

    static void release(const SCNetworkReachabilityContext& context) {
        if (context.info && context.release) context.release(context.info);
    }

    // Posts the target's callback with the flags of now; under the lock.
    static void callBack(SCNetworkReachability* target) {
        if (!target->callback_ || !target->queue_) return;
        target->announced_ = true;
        SCNetworkReachabilityFlags flags = network::flagsFor(current());
        // The target is kept until the block has run; the callback and its
        // info are read then, so that one removed meanwhile is not called.
        dispatch_async(target->queue_, [keep = Ref<SCNetworkReachability>(target), flags] {
            SCNetworkReachabilityCallBack callback;
            void* info;
            {
                std::lock_guard lock(mutex());
                if (!keep->queue_) return;
                callback = keep->callback_;
                info = keep->context_.info;
            }
            if (callback) callback(keep.get(), flags, info);
        });
    }

    static void announceIfReady(SCNetworkReachability* target) {
        if (target->byName_ && !target->announced_) callBack(target);
    }

    static bool setCallback(SCNetworkReachability* target, SCNetworkReachabilityCallBack callout,
                            SCNetworkReachabilityContext* context) {
        SCNetworkReachabilityContext old;
        {
            std::lock_guard lock(mutex());
            old = std::exchange(target->context_, {});
            target->callback_ = callout;
            if (callout && context) {
                target->context_ = *context;
                if (context->info && context->retain) target->context_.info = const_cast<void*>(context->retain(context->info));
            }
            announceIfReady(target);
        }
        release(old);
        return true;
    }

    static bool setQueue(SCNetworkReachability* target, dispatch_queue_t queue) {
        std::lock_guard lock(mutex());
        target->queue_ = queue;
        announceIfReady(target);
        return true;
    }

    static void change(network::Connectivity connectivity) {
        std::vector<Ref<SCNetworkReachability>> alive;
        std::lock_guard lock(mutex());
        if (current() == connectivity) return;
        current() = connectivity;
        for (const auto& weak : targets())
            if (auto target = weak.lock()) alive.push_back(std::move(target));
        for (const auto& target : alive) callBack(target.get());
        // `alive` goes after the lock: a last reference ends its target outside it.
    }
};

SCNetworkReachability::~SCNetworkReachability() { ReachabilityAccess::release(context_); }

SCNetworkReachabilityRef SCNetworkReachabilityCreateWithName(const void*, const char* nodename) {
    if (!nodename) return nullptr;
    return ReachabilityAccess::make(true);
}

SCNetworkReachabilityRef SCNetworkReachabilityCreateWithAddress(const void*, const sockaddr* address) {
    if (!address) return nullptr;
    return ReachabilityAccess::make(false);
}

bool SCNetworkReachabilityGetFlags(SCNetworkReachability* target, SCNetworkReachabilityFlags* flags) {
    if (!target || !flags) return false;
    *flags = network::flagsFor(network::connectivity());
    return true;
}

bool SCNetworkReachabilitySetCallback(SCNetworkReachability* target, SCNetworkReachabilityCallBack callout,
                                      SCNetworkReachabilityContext* context) {
    return target && ReachabilityAccess::setCallback(target, callout, context);
}

bool SCNetworkReachabilitySetDispatchQueue(SCNetworkReachability* target, dispatch_queue_t queue) {
    return target && ReachabilityAccess::setQueue(target, queue);
}

namespace network {

void setConnectivity(Connectivity connectivity) { ReachabilityAccess::change(connectivity); }

Connectivity connectivity() {
    std::lock_guard lock(ReachabilityAccess::mutex());
    return ReachabilityAccess::current();
}

SCNetworkReachabilityFlags flagsFor(Connectivity connectivity) {
    switch (connectivity) {
        case Connectivity::wifi: return kSCNetworkReachabilityFlagsReachable;
        case Connectivity::cellular: return kSCNetworkReachabilityFlagsReachable | kSCNetworkReachabilityFlagsIsWWAN;
        case Connectivity::none: return 0;
    }
    return 0;
}

void registerReachability() { ClassBuilder<SCNetworkReachability>("SCNetworkReachability", "NSObject"); }

}  // namespace network
}  // namespace platform
