// RS2CustomHeaderView: the credits header that tops the first section of the
// pages (all but the lock-screen position page): the product's name, a by-line
// and one line picked at random, centred one under the other in the accent
// colour and placed by layout constraints (the name's top at a fifth of the
// header's height, each next line 5 points below the one before). Settings app
// main thread.
#pragma once

#include "platform/preferences/table_cell.h"
#include "settings/selectors.h"

namespace rousa {

namespace sel {
inline constexpr Sel<Ref<Object>(id)> headerLabel{"headerLabel"};
inline constexpr Sel<void(id, id)> setHeaderLabel_{"setHeaderLabel:"};
inline constexpr Sel<Ref<Object>(id)> subHeaderLabel{"subHeaderLabel"};
inline constexpr Sel<void(id, id)> setSubHeaderLabel_{"setSubHeaderLabel:"};
inline constexpr Sel<Ref<Object>(id)> randomLabel{"randomLabel"};
inline constexpr Sel<void(id, id)> setRandomLabel_{"setRandomLabel:"};
inline constexpr Sel<Value(id)> randomTexts{"randomTexts"};
}  // namespace sel

class RS2CustomHeaderView : public PSTableCell {
public:
    Ref<Object> headerLabel;
    Ref<Object> subHeaderLabel;
    Ref<Object> randomLabel;
};

inline constexpr const char* kHeaderTitle = "Rousa 2";
inline constexpr const char* kHeaderByLine = "by Quillory";
inline constexpr const char* kHeaderFontName = "HelveticaNeue-Light";

void registerHeaderViewClass();

}  // namespace rousa
