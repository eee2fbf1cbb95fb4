#include "adlib/pipeline/network.h"

#include <utility>

#include "adlib/foundation/configuration.h"
#include "platform/network/url.h"

namespace adlib {

namespace {

YBXNetwork* networkOf(id self) { return as<YBXNetwork>(self); }

void reachabilityChanged(SCNetworkReachability*, SCNetworkReachabilityFlags flags, void* info) {
    if (auto* network = static_cast<YBXNetwork*>(info)) network->setNetworkTypeFromFlags(flags);
}

// The host whose reachability stands for the network's: the ad server's.
std::string reachabilityHost() {
    Ref<NSURL> base = NSURL::URLWithString(YBXAdServerBaseURL());
    return base && !base->host().empty() ? base->host() : std::string("127.0.0.1");
}

}  // namespace

Value YBXNetworkTypeString(unsigned long long type) {
    if (type == YBXNetworkTypeWiFi) return Value("wi");
    if (type == YBXNetworkTypeCellular) return Value("ed");
    return Value();
}

unsigned long long YBXNetworkTypeFromFlags(SCNetworkReachabilityFlags flags) {
    // WWAN without the reachable flag is a cellular radio with no connection: offline.
    if (!(flags & kSCNetworkReachabilityFlagsReachable)) return YBXNetworkTypeNotReachable;
    return (flags & kSCNetworkReachabilityFlagsIsWWAN) ? YBXNetworkTypeCellular : YBXNetworkTypeWiFi;
}

void YBXNetwork::setUp() {
    lockQueue_ = dispatch_queue_create("com.orvane.marlex.network", nullptr);
    enableCheckingQueue_ = dispatch_queue_create("com.orvane.marlex.network-enable", nullptr);
}

YBXNetwork::~YBXNetwork() {
    // A monitor that checks keeps itself, so one that ends has no handle left
    // unless its set-up never ran.
    if (enableCheckingQueue_) disableNetworkChecking();
}

void YBXNetwork::enableNetworkChecking() {
    if (!enableCheckingQueue_) return;
    dispatch_sync(enableCheckingQueue_, [this] {
        if (networkReachabilityRef_) return;
        setNetworkType(YBXNetworkTypeUnknown);
        const std::string host = reachabilityHost();
        SCNetworkReachabilityRef handle = SCNetworkReachabilityCreateWithName(nullptr, host.c_str());
        if (!handle) return;
        networkReachabilityRef_ = handle;
        SCNetworkReachabilityContext context;
        context.info = this;
        if (SCNetworkReachabilitySetDispatchQueue(handle.get(), enableCheckingQueue_) &&
            SCNetworkReachabilitySetCallback(handle.get(), &reachabilityChanged, &context)) {
            selfReference_ = Ref<Object>(this);
            return;
        }
        SCNetworkReachabilitySetCallback(handle.get(), nullptr, nullptr);
        SCNetworkReachabilitySetDispatchQueue(handle.get(), nullptr);
        networkReachabilityRef_ = nullptr;
    });
}

void YBXNetwork::disableNetworkChecking() {
    if (!enableCheckingQueue_) return;
    // Dropped after the block: the last reference may end the monitor, which
    // must not happen on its own enable queue.
    Ref<Object> released;
    dispatch_sync(enableCheckingQueue_, [this, &released] {
        if (!networkReachabilityRef_) return;
        SCNetworkReachabilitySetCallback(networkReachabilityRef_.get(), nullptr, nullptr);
        SCNetworkReachabilitySetDispatchQueue(networkReachabilityRef_.get(), nullptr);
        networkReachabilityRef_ = nullptr;
        setNetworkType(YBXNetworkTypeUnknown);
        released = std::move(selfReference_);
    });
}

bool YBXNetwork::isNetworkCheckingEnabled() {
    if (!enableCheckingQueue_) return false;
    bool checking = false;
    dispatch_sync(enableCheckingQueue_, [this, &checking] { checking = networkReachabilityRef_ != nullptr; });
    return checking;
}

unsigned long long YBXNetwork::networkType() {
    unsigned long long type = YBXNetworkTypeUnknown;
    dispatch_sync(lockQueue_, [this, &type] { type = networkType_; });
    return type;
}

unsigned long long YBXNetwork::lastKnownNetworkType() {
    unsigned long long type = YBXNetworkTypeUnknown;
    dispatch_sync(lockQueue_, [this, &type] { type = lastKnownNetworkType_; });
    return type;
}

unsigned long long YBXNetwork::changeCount() {
    unsigned long long count = 0;
    dispatch_sync(lockQueue_, [this, &count] { count = changeCount_; });
    return count;
}

void YBXNetwork::setNetworkType(unsigned long long type) {
    Ref<Object> keep(this);
    dispatch_async(lockQueue_, [this, keep, type] {
        if (type == networkType_) return;
        if (type != YBXNetworkTypeUnknown) {
            ++changeCount_;
            if (type >= YBXNetworkTypeWiFi) lastKnownNetworkType_ = type;
        }
        networkType_ = type;
    });
}

void YBXNetwork::setNetworkTypeFromFlags(SCNetworkReachabilityFlags flags) { setNetworkType(YBXNetworkTypeFromFlags(flags)); }

void registerNetworkClass() {
    ClassBuilder<YBXNetwork>("YBXNetwork", "NSObject")
        .method(sel::init,
                [](id self) -> Ref<Object> {
                    networkOf(self)->setUp();
                    return Ref<Object>(self);
                })
        .method(sel::enableNetworkChecking, [](id self) { networkOf(self)->enableNetworkChecking(); })
        .method(sel::disableNetworkChecking, [](id self) { networkOf(self)->disableNetworkChecking(); })
        .method(sel::isNetworkCheckingEnabled, [](id self) { return networkOf(self)->isNetworkCheckingEnabled(); })
        .method(sel::networkType, [](id self) { return networkOf(self)->networkType(); })
        .method(sel::setNetworkType_, [](id self, unsigned long long type) { networkOf(self)->setNetworkType(type); })
        .method(sel::setNetworkTypeFromFlags_, [](id self, unsigned int flags) { networkOf(self)->setNetworkTypeFromFlags(flags); })
        .method(sel::lastKnownNetworkType, [](id self) { return networkOf(self)->lastKnownNetworkType(); })
        .method(sel::changeCount, [](id self) { return networkOf(self)->changeCount(); })
        .method(sel::networkTypeString, [](id self) { return YBXNetworkTypeString(networkOf(self)->networkType()); })
        .method(sel::lastKnownNetworkTypeString, [](id self) { return YBXNetworkTypeString(networkOf(self)->lastKnownNetworkType()); });
}

}  // namespace adlib
