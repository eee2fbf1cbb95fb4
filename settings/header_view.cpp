#include "settings/header_view.h"

#include "platform/foundation/random.h"
#include "platform/uikit/label.h"
#include "platform/uikit/layout_constraint.h"
#include "platform/uikit/screen.h"
#include "settings/base_controller.h"

namespace rousa {

namespace {

Class* headerClass() {
    static Class* c = objc_getClass("RS2CustomHeaderView");
    return c;
}

RS2CustomHeaderView* header(id self) { return as<RS2CustomHeaderView>(self); }

Ref<Object> makeLabel(double fontSize) {
    Ref<Object> label = newObject("UILabel");
    sel::setNumberOfLines_(label, 1);
    sel::setFont_(label, sel::fontWithName_size_(objc_getClass("UIFont"), Value(kHeaderFontName), fontSize));
    sel::setTextAlignment_(label, NSTextAlignmentCenter);
    sel::setBackgroundColor_(label, sel::clearColor(objc_getClass("UIColor")));
    sel::setTextColor_(label, settingsAccentColor());
    return label;
}

void constrain(id holder, id item, long long attribute, id other, long long otherAttribute, double multiplier, double constant) {
    sel::addConstraint_(holder, sel::constraintWithItem_attribute_relatedBy_toItem_attribute_multiplier_constant_(
                                    objc_getClass("NSLayoutConstraint"), item, attribute, NSLayoutRelationEqual, other, otherAttribute, multiplier,
                                    constant));
}

bool isPad() {
    Ref<Object> device = sel::currentDevice(objc_getClass("UIDevice"));
    return respondsToSelector(device, sel::userInterfaceIdiom.name) && sel::userInterfaceIdiom(device) == UIUserInterfaceIdiomPad;
}

Value randomTexts(id) {
    return Value::array({Value("Thank you for your support"), Value("Enjoy!"), Value("Don't Drink and Text."), Value("Follow me on Twitter."),
                         Value("Everybody love cookies!"), Value("Half of 2 Plus 2 Equals 3"), Value("Have a nice day!"),
                         Value("Developed with passion :D"), Value("Sleep well, wake up better.")});
}

Ref<Object> init(id self) {
    Ref<Object> base = sel::initWithFrame_.super(headerClass(), self, Rect());
    auto* h = header(base.get());
    if (!h) return base;
    const bool pad = isPad();
    sel::setHeaderLabel_(h, makeLabel(pad ? 40.0 : 32.0));
    sel::setSubHeaderLabel_(h, makeLabel(pad ? 20.0 : 16.0));
    sel::setRandomLabel_(h, makeLabel(12.0));
    sel::setText_(h->headerLabel, Value(kHeaderTitle));
    sel::setText_(h->subHeaderLabel, Value(kHeaderByLine));
    Value texts = sel::randomTexts(h);
    sel::setText_(h->randomLabel, texts.at(platform::arc4random_uniform(static_cast<std::uint32_t>(texts.count()))));
    for (id label : {h->headerLabel.get(), h->subHeaderLabel.get(), h->randomLabel.get()}) {
        sel::setTranslatesAutoresizingMaskIntoConstraints_(label, false);
        sel::addSubview_(h, label);
    }
    constrain(h, h->headerLabel, NSLayoutAttributeTop, h, NSLayoutAttributeBottom, 0.2, 0);
    constrain(h, h->headerLabel, NSLayoutAttributeCenterX, h, NSLayoutAttributeCenterX, 1.0, 0);
    constrain(h, h->subHeaderLabel, NSLayoutAttributeTop, h->headerLabel, NSLayoutAttributeBottom, 1.0, 5);
    constrain(h, h->subHeaderLabel, NSLayoutAttributeCenterX, h, NSLayoutAttributeCenterX, 1.0, 0);
    constrain(h, h->randomLabel, NSLayoutAttributeTop, h->subHeaderLabel, NSLayoutAttributeBottom, 1.0, 5);
    constrain(h, h->randomLabel, NSLayoutAttributeCenterX, h, NSLayoutAttributeCenterX, 1.0, 0);
    return base;
}

}  // namespace

void registerHeaderViewClass() {
    ClassBuilder<RS2CustomHeaderView>("RS2CustomHeaderView", "PSTableCell")
        .method(sel::init, &init)
        .property<&RS2CustomHeaderView::headerLabel>(sel::headerLabel, sel::setHeaderLabel_)
        .property<&RS2CustomHeaderView::subHeaderLabel>(sel::subHeaderLabel, sel::setSubHeaderLabel_)
        .property<&RS2CustomHeaderView::randomLabel>(sel::randomLabel, sel::setRandomLabel_)
        .method(sel::randomTexts, &randomTexts);
}

}  // namespace rousa
