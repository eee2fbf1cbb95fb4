#include "platform/preferences/table_cell.h"

#include "platform/preferences/list_controller.h"
#include "platform/uikit/value_controls.h"

namespace platform {

namespace {

Class* editableClass() {
    static Class* c = objc_getClass("PSEditableTableCell");
    return c;
}

PSTableCell* cell(id self) { return as<PSTableCell>(self); }

// The text a row shows for a value: a string as it is, a number as its description.
Value textOf(const Value& v) {
    if (v.isNil()) return Value();
    return v.isString() ? v : Value(v.description());
}

template <class Control>
Ref<Control> controlOf(PSTableCell* c, const char* className, Size size) {
    if (auto* existing = dynamic_cast<Control*>(c->control_.get())) return Ref<Control>(existing);
    auto control = UIView::make<Control>(className, Rect(Point{}, size));
    sel::addTarget_action_forControlEvents_(control, c, sel::controlChanged_, UIControlEventValueChanged);
    c->control_ = control;
    sel::setAccessoryView_(c, control);
    return control;
}

void refresh(id self, id specifier) {
    auto* c = cell(self);
    auto* s = as<PSSpecifier>(specifier);
    c->specifier_ = s;
    if (!s) return;
    sel::setText_(sel::textLabel(self), s->name);
    switch (s->cellType) {
        case PSLinkCell:
            sel::setAccessoryType_(self, UITableViewCellAccessoryDisclosureIndicator);
            break;
        case PSLinkListCell:
            sel::setAccessoryType_(self, UITableViewCellAccessoryDisclosureIndicator);
            sel::setText_(sel::detailTextLabel(self), s->titleOfValue(preferences::readValue(s), true));
            break;
        case PSSwitchCell:
            sel::setOn_(controlOf<UISwitch>(c, "UISwitch", UISwitch::kSize), preferences::readValue(s).boolValue(false));
            sel::setSelectionStyle_(self, UITableViewCellSelectionStyleNone);
            break;
        case PSSliderCell: {
            auto slider = controlOf<UISlider>(c, "UISlider", PSTableCell::kSliderSize);
            sel::setMinimumValue_(slider, s->property("min").floatValue(0));
            sel::setMaximumValue_(slider, s->property("max").floatValue(1));
            sel::setValue_(slider, preferences::readValue(s).floatValue(0));
            sel::setSelectionStyle_(self, UITableViewCellSelectionStyleNone);
            break;
        }
        case PSTitleValueCell:
            sel::setText_(sel::detailTextLabel(self), textOf(preferences::readValue(s)));
            sel::setSelectionStyle_(self, UITableViewCellSelectionStyleNone);
            break;
        case PSStaticTextCell:
            sel::setSelectionStyle_(self, UITableViewCellSelectionStyleNone);
            break;
        default:
            break;
    }
}

void controlChanged(id self, id sender) {
    auto* c = cell(self);
    Ref<PSTableCell> protector(c);
    Ref<PSSpecifier> s = c->specifier_;
    if (!s) return;
    if (auto* toggle = as<UISwitch>(sender)) preferences::writeValue(s, Value(sel::isOn(toggle)));
    else if (auto* slider = as<UISlider>(sender)) preferences::writeValue(s, Value(static_cast<double>(sel::value(slider))));
}

}  // namespace

namespace preferences {

void registerTableCellClasses() {
    ClassBuilder<PSTableCell>("PSTableCell", "UITableViewCell")
        .method(sel::initWithStyle_reuseIdentifier_specifier_,
                [](id self, long long style, Value reuseIdentifier, id specifier) -> Ref<Object> {
                    Ref<Object> base = sel::initWithStyle_reuseIdentifier_(self, style, reuseIdentifier);
                    if (base) sel::refreshCellContentsWithSpecifier_(base, specifier);
                    return base;
                })
        .method(sel::refreshCellContentsWithSpecifier_, &refresh)
        .method(sel::specifier, [](id self) -> Ref<Object> { return cell(self)->specifier_; })
        .method(sel::setSpecifier_, [](id self, id s) { cell(self)->specifier_ = Ref<PSSpecifier>(as<PSSpecifier>(s)); })
        .method(sel::titleLabel, [](id self) { return sel::textLabel(self); })
        .method(sel::control, [](id self) -> Ref<Object> { return cell(self)->control_; })
        .method(sel::controlChanged_, &controlChanged);

    ClassBuilder<PSEditableTableCell>("PSEditableTableCell", "PSTableCell")
        .method(sel::refreshCellContentsWithSpecifier_,
                [](id self, id specifier) {
                    auto* c = as<PSEditableTableCell>(self);
                    if (!c->textField_) {
                        c->textField_ = UIView::make<UITextField>("UITextField", Rect(Point{}, PSEditableTableCell::kFieldSize));
                        sel::setDelegate_(c->textField_, self);
                        sel::setAccessoryView_(self, c->textField_);
                    }
                    sel::refreshCellContentsWithSpecifier_.super(editableClass(), self, specifier);
                    auto* s = as<PSSpecifier>(specifier);
                    if (!s) return;
                    sel::setText_(c->textField_, textOf(readValue(s)));
                    sel::setPlaceholder_(c->textField_, s->property("placeholder"));
                    sel::setKeyboardType_(c->textField_, s->property("keyboard").stringOr("") == "numbers" ? UIKeyboardTypeNumberPad : UIKeyboardTypeDefault);
                    sel::setSelectionStyle_(self, UITableViewCellSelectionStyleNone);
                })
        .method(sel::textField, [](id self) -> Ref<Object> { return as<PSEditableTableCell>(self)->textField_; })
        .method(sel::textField_shouldChangeCharactersInRange_replacementString_, [](id, id, NSRange, Value) { return true; })
        .method(sel::textFieldShouldReturn_, [](id, id) { return true; })
        .method(sel::textFieldDidEndEditing_, [](id self, id field) {
            Ref<PSEditableTableCell> protector(as<PSEditableTableCell>(self));
            if (Ref<PSSpecifier> s = protector->specifier_) writeValue(s, sel::text(field));
        });
}

}  // namespace preferences
}  // namespace platform
