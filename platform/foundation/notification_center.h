// NSNotificationCenter (posts reach observers at once, on the posting thread)
// and NSDistributedNotificationCenter (posts reach observers on the main run
// loop, in this process and, through the device transport, in the others).
// Observers are not retained, nor the objects they filter on; an observer
// that went away is skipped. Lists
// tolerate removal and addition while a post is delivered.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/nsobject.h"

namespace platform {

class NSOperationQueue;

class NSNotification : public NSObject {
public:
    static Ref<NSNotification> make(std::string name, Value object, Value userInfo);
    const std::string& name() const { return name_; }
    const Value& object() const { return object_; }
    const Value& userInfo() const { return userInfo_; }

private:
    std::string name_;
    Value object_;
    Value userInfo_;
};

class NSNotificationCenter : public NSObject {
public:
    static NSNotificationCenter* defaultCenter();

    // The selector takes the notification (or nothing). An empty name or a nil
    // object matches every post.
    void addObserver(id observer, SEL selector, std::string_view name, const Value& object);
    // A block observer; the returned token removes it.
    Ref<Object> addObserverForName(std::string_view name, const Value& object, std::function<void(NSNotification*)> block);
    // addObserverForName:object:queue:usingBlock: the block runs on the
    // operation queue (nil: on the posting thread), and the post returns once
    // it has run. Only the main operation queue is offered; a post from the
    // main thread runs the block at once.
    Ref<Object> addObserverForName(std::string_view name, const Value& object, NSOperationQueue* queue,
                                   std::function<void(NSNotification*)> block);
    void removeObserver(id observer);
    void removeObserver(id observer, std::string_view name, const Value& object);

    void postNotificationName(std::string_view name, const Value& object, const Value& userInfo = Value());
    void postNotification(NSNotification* notification);

    std::size_t observerCount() const;

protected:
    // Calls the observers of one notification in this process.
    void deliver(NSNotification* notification);

private:
    struct Observer {
        WeakRef<Object> observer;
        const void* identity;
        std::string selector;
        std::function<void(NSNotification*)> block;
        std::string name;
        // The object filter: an object by its identity only (the centre does
        // not retain it, as the platform's does not), any other value as it is.
        const void* objectIdentity = nullptr;
        Value object;
        std::atomic<bool> removed = false;  // set by removals on any thread

        void setFilter(const Value& filter);
        bool sameFilter(const Value& filter) const;
        bool filterMatches(const Value& posted) const;
    };
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Observer>> observers_;
};

class NSDistributedNotificationCenter : public NSNotificationCenter {
public:
    static NSDistributedNotificationCenter* defaultCenter();
    // Delivered on the main run loop here, and forwarded to the other processes.
    void postNotificationName(std::string_view name, const Value& object, const Value& userInfo = Value());
    // A post that arrived from another process.
    void deliverFromOtherProcess(std::string_view name, const Value& object, const Value& userInfo);
};

// The device transport installs a forwarder that carries posts of the
// cross-process centres ("darwin", "distributed") to the other processes.
namespace crossProcess {
using Forwarder = std::function<void(std::string_view center, std::string_view name, const Value& object, const Value& userInfo)>;
void setForwarder(Forwarder forwarder);
void forward(std::string_view center, std::string_view name, const Value& object, const Value& userInfo);
}  // namespace crossProcess

}  // namespace platform
