// AVFoundation: AVAudioSession's current route and its output ports, which
// tests set. Any thread.
#pragma once

#include <string>
#include <vector>

#include "platform/frameworks/selectors.h"

namespace platform {

inline constexpr const char* AVAudioSessionPortLineOut = "LineOut";
inline constexpr const char* AVAudioSessionPortHeadphones = "Headphones";
inline constexpr const char* AVAudioSessionPortBluetoothA2DP = "BluetoothA2DPOutput";
inline constexpr const char* AVAudioSessionPortBuiltInReceiver = "Receiver";
inline constexpr const char* AVAudioSessionPortBuiltInSpeaker = "Speaker";
inline constexpr const char* AVAudioSessionPortHDMI = "HDMIOutput";
inline constexpr const char* AVAudioSessionPortAirPlay = "AirPlay";

namespace sel {
inline constexpr Sel<Ref<Object>(id)> currentRoute{"currentRoute"};
inline constexpr Sel<Value(id)> outputs{"outputs"};  // an array of port descriptions
inline constexpr Sel<Value(id)> portType{"portType"};
inline constexpr Sel<Value(id)> portName{"portName"};
}  // namespace sel

class AVAudioSession : public NSObject {};
class AVAudioSessionRouteDescription : public NSObject {
public:
    Value outputs_;
};
class AVAudioSessionPortDescription : public NSObject {
public:
    Value portType_;
    Value portName_;
};

namespace avfoundation {
struct Port {
    std::string type;
    std::string name;
};
// The built-in speaker at first.
void setOutputs(std::vector<Port> outputs);
void registerClasses();
}  // namespace avfoundation

}  // namespace platform
