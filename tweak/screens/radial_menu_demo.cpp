#include "tweak/screens/radial_menu_demo.h"

#include "platform/foundation/log.h"
#include "platform/uikit/visual_effect.h"

namespace rousa {

namespace {

Class* controllerClass() {
    static Class* c = objc_getClass("MenuViewController");
    return c;
}

MenuViewController* controllerOf(id self) { return as<MenuViewController>(self); }

Class* itemClass() { return objc_getClass("PRWRadialMenuItem"); }

Ref<Object> imageNamed(const char* name) { return sel::imageNamed_(objc_getClass("UIImage"), Value(name)); }

// The items' blocks reach the controller weakly: it owns the menus that own them.
PRWRadialMenuItemHandler calling(id self, const Sel<void(id)>& action) {
    return [weak = WeakRef<Object>(self), action](id, id) {
        if (Ref<Object> c = weak.lock()) action(c);
    };
}

Ref<Object> standard(id self, long long standardItem, const Sel<void(id)>& action) {
    return sel::menuItemWithRadialMenuStandardItem_handler_(itemClass(), standardItem, calling(self, action));
}

Ref<Object> stopItem(id self, const Sel<void(id)>& action) {
    return sel::menuItemWithImage_highlightedImage_handler_(itemClass(), imageNamed("ActionCameraStop"), imageNamed("ActionCameraStopHighlighted"),
                                                            calling(self, action));
}

Ref<Object> makeMenu(id self, id effect, Rect frame) {
    Ref<Object> menu = sel::initWithBackgroundVisualEffect_(alloc("PRWRadialMenu"), effect);
    sel::setFrame_(menu, frame);
    sel::setDelegate_(menu, self);
    return menu;
}

void viewDidLoad(id self) {
    sel::viewDidLoad.super(controllerClass(), self);
    auto* c = controllerOf(self);
    c->cameraRecording = false;
    c->microphoneRecording = false;
    Ref<Object> view = sel::view(self);
    Ref<Object> blur = sel::effectWithStyle_(objc_getClass("UIBlurEffect"), UIBlurEffectStyleDark);

    c->cameraRadialMenu = makeMenu(self, blur, Rect(5, 308, 44, 44));
    sel::setImage_forState_(c->cameraRadialMenu, imageNamed("Camera"), UIControlStateNormal);
    sel::setImage_forState_(c->cameraRadialMenu, imageNamed("CameraHighlighted"), UIControlStateSelected);
    sel::addSubview_(view, c->cameraRadialMenu);

    WeakRef<Object> weak(self);
    Ref<Object> cancel = sel::menuItemWithRadialMenuStandardItem_highlightedHandler_selectedHandler_(
        itemClass(), PRWRadialMenuStandardItemCancel,
        [weak](id, id, bool highlighted) {
            Ref<Object> held = weak.lock();
            if (held && highlighted) ++controllerOf(held)->numberOfTimesCameraCancelButtonHasBeenHighlighted;
        },
        [weak](id, id) {
            // Only a deliberate cancel: the finger came back to the centre at least once.
            Ref<Object> held = weak.lock();
            if (held && controllerOf(held)->numberOfTimesCameraCancelButtonHasBeenHighlighted >= 2) sel::cameraCancel(held);
        });
    c->cameraPhotoTakeAndSendAction = standard(self, PRWRadialMenuStandardItemCamera, sel::cameraTakeAndSendPhoto);
    c->cameraRecordingStartAction = sel::menuItemWithIcon_highlightedHandler_selectedHandler_(
        itemClass(), imageNamed("ActionCameraRecord"),
        [weak](id, id, bool highlighted) {
            Ref<Object> held = weak.lock();
            if (held && highlighted) sel::cameraRecord(held);
        },
        calling(self, sel::cameraRecord));
    c->cameraRecordingStopAction = stopItem(self, sel::cameraStop);
    c->cameraRecordingSendAction = standard(self, PRWRadialMenuStandardItemConfirm, sel::cameraRecordingSend);
    c->cameraRecordingPlaybackPlayAction = standard(self, PRWRadialMenuStandardItemPlay, sel::cameraRecordingPlaybackPlay);
    c->cameraRecordingPlaybackPauseAction = standard(self, PRWRadialMenuStandardItemPause, sel::cameraRecordingPlaybackPause);
    sel::setItem_forLocation_(c->cameraRadialMenu, cancel, PRWRadialMenuLocationCenter);
    sel::resetCameraRadialMenu(self);

    c->microphoneRadialMenu = makeMenu(self, blur, Rect(271, 308, 44, 44));
    sel::setImage_forState_(c->microphoneRadialMenu, imageNamed("Microphone"), UIControlStateNormal);
    sel::setImage_forState_(c->microphoneRadialMenu, imageNamed("Microphone"), UIControlStateSelected);
    sel::addSubview_(view, c->microphoneRadialMenu);
    sel::setItem_forLocation_(c->microphoneRadialMenu, standard(self, PRWRadialMenuStandardItemCancel, sel::microphoneCancel),
                              PRWRadialMenuLocationLeft);
    c->microphoneRecordingSendAction = standard(self, PRWRadialMenuStandardItemConfirm, sel::microphoneRecordingSend);
    sel::setItem_forLocation_(c->microphoneRadialMenu, c->microphoneRecordingSendAction, PRWRadialMenuLocationTop);
    c->microphoneRecordingStopAction = stopItem(self, sel::microphoneStop);
    sel::setItem_forLocation_(c->microphoneRadialMenu, c->microphoneRecordingStopAction, PRWRadialMenuLocationCenter);
    c->microphoneRecordingPlaybackPlayAction = standard(self, PRWRadialMenuStandardItemPlay, sel::microphoneRecordingPlaybackPlay);
    c->microphoneRecordingPlaybackPauseAction = standard(self, PRWRadialMenuStandardItemPause, sel::microphoneRecordingPlaybackPause);
}

// Each action logs its text first, then changes the menus.
void act(ClassBuilder<MenuViewController>& b, const Sel<void(id)>& action, void (*body)(id)) { b.method(action, body); }

void setCamera(id self, id item, long long location) { sel::setItem_forLocation_(controllerOf(self)->cameraRadialMenu, item, location); }
void setMicrophone(id self, id item, long long location) {
    sel::setItem_forLocation_(controllerOf(self)->microphoneRadialMenu, item, location);
}

void registerActions(ClassBuilder<MenuViewController>& b) {
    act(b, sel::resetCameraRadialMenu, [](id self) {
        auto* c = controllerOf(self);
        setCamera(self, c->cameraPhotoTakeAndSendAction, PRWRadialMenuLocationTop);
        setCamera(self, c->cameraRecordingStartAction, PRWRadialMenuLocationRight);
        c->numberOfTimesCameraCancelButtonHasBeenHighlighted = 0;
    });
    act(b, sel::cameraCancel, [](id self) {
        NSLog("Camera: Cancel");
        sel::dismissMenuAnimated_(controllerOf(self)->cameraRadialMenu, true);
    });
    act(b, sel::cameraTakeAndSendPhoto, [](id self) {
        NSLog("Camera: Take and Send Photo");
        sel::dismissMenuAnimated_(controllerOf(self)->cameraRadialMenu, true);
    });
    act(b, sel::cameraRecord, [](id self) {
        NSLog("Camera: Start Recording");
        controllerOf(self)->cameraRecording = true;
        setCamera(self, controllerOf(self)->cameraRecordingStopAction, PRWRadialMenuLocationRight);
    });
    act(b, sel::cameraStop, [](id self) {
        NSLog("Camera: Stop");
        auto* c = controllerOf(self);
        c->cameraRecording = false;
        setCamera(self, c->cameraRecordingPlaybackPlayAction, PRWRadialMenuLocationRight);
        setCamera(self, c->cameraRecordingSendAction, PRWRadialMenuLocationTop);
    });
    act(b, sel::cameraRecordingSend, [](id self) {
        NSLog("Camera: Sending Recording");
        sel::dismissMenuAnimated_(controllerOf(self)->cameraRadialMenu, true);
    });
    act(b, sel::cameraRecordingPlaybackPlay, [](id self) {
        NSLog("Camera: Play");
        setCamera(self, controllerOf(self)->cameraRecordingPlaybackPauseAction, PRWRadialMenuLocationRight);
    });
    act(b, sel::cameraRecordingPlaybackPause, [](id self) {
        NSLog("Camera: Pause");
        setCamera(self, controllerOf(self)->cameraRecordingPlaybackPlayAction, PRWRadialMenuLocationRight);
    });
    act(b, sel::resetMicrophoneRadialMenu,
        [](id self) { setMicrophone(self, controllerOf(self)->microphoneRecordingStopAction, PRWRadialMenuLocationCenter); });
    act(b, sel::microphoneCancel, [](id self) {
        NSLog("Microphone: Cancel");
        sel::dismissMenuAnimated_(controllerOf(self)->microphoneRadialMenu, true);
    });
    act(b, sel::microphoneStop, [](id self) {
        NSLog("Microphone: Stop");
        controllerOf(self)->microphoneRecording = false;
        setMicrophone(self, controllerOf(self)->microphoneRecordingPlaybackPlayAction, PRWRadialMenuLocationCenter);
    });
    act(b, sel::microphoneRecordingSend, [](id self) {
        NSLog("Microphone: Sending Recording");
        controllerOf(self)->microphoneRecording = false;
        sel::dismissMenuAnimated_(controllerOf(self)->microphoneRadialMenu, true);
    });
    act(b, sel::microphoneRecordingPlaybackPlay, [](id self) {
        NSLog("Microphone: Play");
        setMicrophone(self, controllerOf(self)->microphoneRecordingPlaybackPauseAction, PRWRadialMenuLocationCenter);
    });
    act(b, sel::microphoneRecordingPlaybackPause, [](id self) {
        NSLog("Microphone: Pause");
        setMicrophone(self, controllerOf(self)->microphoneRecordingPlaybackPlayAction, PRWRadialMenuLocationCenter);
    });
}

// The camera menu's tint while it is open: hue 1/6 in single precision (yellow).
constexpr double kCameraOpenHue = static_cast<double>(1.0f / 6.0f);

void registerDelegate(ClassBuilder<MenuViewController>& b) {
    b.method(sel::radialMenuWillDisplay_,
             [](id self, id menu) {
                 NSLog("radialMenuWillDisplay");
                 if (menu == controllerOf(self)->cameraRadialMenu.get())
                     sel::setTintColor_(menu, sel::colorWithHue_saturation_brightness_alpha_(objc_getClass("UIColor"), kCameraOpenHue, 1.0, 1.0, 1.0));
             })
        .method(sel::radialMenuDidDisplay_, [](id, id) { NSLog("radialMenuDidDisplay"); })
        .method(sel::radialMenuWillDismiss_,
                [](id self, id) {
                    NSLog("radialMenuWillDismiss");
                    sel::setTintColor_(controllerOf(self)->cameraRadialMenu, sel::tintColor(sel::view(self)));
                })
        .method(sel::radialMenuDidDismiss_, [](id self, id menu) {
            NSLog("radialMenuDidDismiss");
            auto* c = controllerOf(self);
            if (menu == c->cameraRadialMenu.get()) sel::resetCameraRadialMenu(self);
            else if (menu == c->microphoneRadialMenu.get()) sel::resetMicrophoneRadialMenu(self);
        });
}

}  // namespace

void registerRadialMenuDemoClass() {
    ClassBuilder<MenuViewController> b("MenuViewController", "UIViewController");
    b.protocol("PRWRadialMenuDelegate").method(sel::viewDidLoad, &viewDidLoad);
    registerActions(b);
    registerDelegate(b);
}

}  // namespace rousa
