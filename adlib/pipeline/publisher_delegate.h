// How the banner view and the interstitial call their publisher's delegate:
// synchronously on the main thread, and only when it implements the method.
#pragma once

#include "adlib/foundation/macros.h"

namespace adlib {

template <class... Args>
void tellPublisherDelegate(const WeakRef<Object>& weakDelegate, Sel<void(id, Args...)> selector, Args... args) {
    RunSynchronouslyOnMainThread([&] {
        Ref<Object> delegate = weakDelegate.lock();
        if (delegate && respondsToSelector(delegate.get(), selector.name)) selector(delegate.get(), args...);
    });
}

// A slot event relayed as the delegate method of the same shape, with the
// public object (a banner view, an interstitial) in place of the slot.
template <class Owner, const Sel<void(id, id)>& Selector>
void relaySlotEvent(id self, id) {
    tellPublisherDelegate(as<Owner>(self)->delegate_, Selector, self);
}

}  // namespace adlib
