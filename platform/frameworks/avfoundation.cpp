#include "platform/frameworks/avfoundation.h"

#include <mutex>

namespace platform::avfoundation {

namespace {
std::mutex mutex;
std::vector<Port>& ports() {
    static auto* p = new std::vector<Port>{{AVAudioSessionPortBuiltInSpeaker, "Speaker"}};
    return *p;
}
}  // namespace

void setOutputs(std::vector<Port> outputs) {
    std::lock_guard lock(mutex);
    ports() = std::move(outputs);
}

void registerClasses() {
    ClassBuilder<AVAudioSession>("AVAudioSession", "NSObject")
        .classMethod(sel::sharedInstance,
                     [](id) -> Ref<Object> {
                         static auto* session = new Ref<Object>(alloc("AVAudioSession"));
                         return *session;
                     })
        .method(sel::currentRoute, [](id) -> Ref<Object> {
            std::vector<Port> now;
            {
                std::lock_guard lock(mutex);
                now = ports();
            }
            auto route = as<AVAudioSessionRouteDescription>(alloc("AVAudioSessionRouteDescription"));
            Value::Array outputs;
            for (const Port& p : now) {
                auto port = as<AVAudioSessionPortDescription>(alloc("AVAudioSessionPortDescription"));
                port->portType_ = Value(p.type);
                port->portName_ = Value(p.name);
                outputs.push_back(Value(port));
            }
            route->outputs_ = Value(std::move(outputs));
            return route;
        });
    ClassBuilder<AVAudioSessionRouteDescription>("AVAudioSessionRouteDescription", "NSObject")
        .method(sel::outputs, [](id self) { return as<AVAudioSessionRouteDescription>(self)->outputs_; });
    ClassBuilder<AVAudioSessionPortDescription>("AVAudioSessionPortDescription", "NSObject")
        .method(sel::portType, [](id self) { return as<AVAudioSessionPortDescription>(self)->portType_; })
        .method(sel::portName, [](id self) { return as<AVAudioSessionPortDescription>(self)->portName_; });
}

}  // namespace platform::avfoundation
