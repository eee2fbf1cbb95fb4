// UIFont: a font name and a point size. Every name is accepted (nothing is
// drawn); metrics come from text_metrics.h. Immutable; any thread.
#pragma once

#include <string>

#include "platform/uikit/selectors.h"

namespace platform {

class UIFont : public NSObject {
public:
    // Null when the name is empty.
    static Ref<UIFont> make(std::string name, double pointSize);
    // The system font of the running iOS version.
    static Ref<UIFont> systemFont(double pointSize);
    static Ref<UIFont> boldSystemFont(double pointSize);

    const std::string& fontName() const { return name_; }
    double pointSize() const { return size_; }
    double lineHeight() const;

private:
    std::string name_;
    double size_ = 0;
};

}  // namespace platform
