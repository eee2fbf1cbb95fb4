// QuartzCore's part that views use: CALayer (the backing of every view: corner
// radius, masking, border, background, filters), the private CABackdropLayer
// and CAFilter. Layers and filters keep values for keys they do not define, as
// the real ones do. Nothing is composited. Main thread only.
#pragma once

#include "platform/uikit/selectors.h"

namespace platform {

class CALayer : public NSObject, public UndefinedKeyStorage {
public:
    double cornerRadius = 0;
    bool masksToBounds = false;
    double borderWidth = 0;
    Ref<Object> borderColor;
    Ref<Object> backgroundColor;
    Value filters;
    WeakRef<Object> delegate;  // the view the layer backs
};

// The private backdrop layer: renders what lies behind it (here: nothing).
class CABackdropLayer : public CALayer {};

class CAFilter : public NSObject, public UndefinedKeyStorage {
public:
    static Ref<CAFilter> filterWithName(std::string name);
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

inline constexpr const char* kCAFilterGaussianBlur = "gaussianBlur";

}  // namespace platform
