#include "tweak/screens/radial_menu_demo.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/uikit/color.h"
#include "platform/uikit/touch.h"
#include "tests/tweak/screens/radial_menu_fixture.h"

namespace rousa::testing {
namespace {

using Lines = std::vector<std::string>;

// The menus' centres on the screen.
constexpr Point kCamera{27, 330};
constexpr Point kMicrophone{293, 330};

class MenuScreen : public RadialMenuTest {
protected:
    MenuScreen() {
        for (const char* name : {"Camera", "CameraHighlighted", "Microphone", "ActionCameraRecord", "ActionCameraStop",
                                 "ActionCameraStopHighlighted", "PRWRadialMenuStandardItemCamera"})
            plantImage(name);
        controller = as<MenuViewController>(newObject("MenuViewController"));
        sel::setRootViewController_(window, controller);
        advance(0);
        camera = as<PRWRadialMenu>(controller->cameraRadialMenu);
        microphone = as<PRWRadialMenu>(controller->microphoneRadialMenu);
        log::clear();
    }
    static Ref<Object> itemAt(PRWRadialMenu* menu, long long location) { return sel::menuItemForLocation_(menu, location); }
    // Presses the menu's centre until it opens, moves to `to` and lifts there.
    void press(Point centre, Point to) {
        Ref<UITouch> t = touch::down(centre);
        advance(0.5);
        touch::move(t, to);
        touch::up(t);
    }

    Ref<MenuViewController> controller;
    Ref<PRWRadialMenu> camera, microphone;
};

TEST_F(MenuScreen, BothMenusStartWithTheirFirstItems) {
    Ref<Object> view = sel::view(controller);
    struct MenuCase {
        const char* name;
        PRWRadialMenu* menu;
        Rect frame;
        const char* normalImage;
        const char* selectedImage;
    };
    for (const auto& c : {MenuCase{"camera", camera, Rect(5, 308, 44, 44), "Camera.png", "CameraHighlighted.png"},
                          MenuCase{"microphone", microphone, Rect(271, 308, 44, 44), "Microphone.png", "Microphone.png"}}) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.menu);
        EXPECT_EQ(sel::frame(c.menu), c.frame);
        EXPECT_EQ(sel::superview(c.menu).get(), view.get());
        EXPECT_EQ(sel::delegate(c.menu).get(), controller.get());
        EXPECT_EQ(object_getIvar(sel::backgroundVisualEffect(c.menu), "_style"), Value(2));
        EXPECT_EQ(imagePath(sel::imageForState_(c.menu, UIControlStateNormal)), c.normalImage);
        EXPECT_EQ(imagePath(sel::imageForState_(c.menu, UIControlStateSelected)), c.selectedImage);
    }
    EXPECT_EQ(sel::backgroundVisualEffect(camera).get(), sel::backgroundVisualEffect(microphone).get());
    EXPECT_FALSE(controller->cameraRecording);
    EXPECT_FALSE(controller->microphoneRecording);
    EXPECT_EQ(controller->numberOfTimesCameraCancelButtonHasBeenHighlighted, 0);

    // Camera: Cancel in the centre, photo at the top, record at the right.
    Ref<Object> cancel = itemAt(camera, PRWRadialMenuLocationCenter);
    EXPECT_EQ(sel::standardItem(cancel), PRWRadialMenuStandardItemCancel);
    EXPECT_TRUE(sel::highlightedHandler(cancel));
    EXPECT_EQ(itemAt(camera, PRWRadialMenuLocationTop).get(), controller->cameraPhotoTakeAndSendAction.get());
    EXPECT_EQ(sel::standardItem(controller->cameraPhotoTakeAndSendAction), PRWRadialMenuStandardItemCamera);
    EXPECT_EQ(itemAt(camera, PRWRadialMenuLocationRight).get(), controller->cameraRecordingStartAction.get());
    EXPECT_EQ(sel::type(controller->cameraRecordingStartAction), PRWRadialMenuItemTypeIcon);
    EXPECT_EQ(imagePath(sel::icon(controller->cameraRecordingStartAction)), "ActionCameraRecord.png");
    EXPECT_TRUE(sel::highlightedHandler(controller->cameraRecordingStartAction));
    EXPECT_EQ(sel::items(camera).count(), 3u);

    // The camera's other items, made for later.
    EXPECT_EQ(imagePath(sel::image(controller->cameraRecordingStopAction)), "ActionCameraStop.png");
    EXPECT_EQ(imagePath(sel::highlightedImage(controller->cameraRecordingStopAction)), "ActionCameraStopHighlighted.png");
    EXPECT_EQ(sel::standardItem(controller->cameraRecordingSendAction), PRWRadialMenuStandardItemConfirm);
    EXPECT_EQ(sel::standardItem(controller->cameraRecordingPlaybackPlayAction), PRWRadialMenuStandardItemPlay);
    EXPECT_EQ(sel::standardItem(controller->cameraRecordingPlaybackPauseAction), PRWRadialMenuStandardItemPause);

    // Microphone: Cancel at the left, send at the top, stop in the centre.
    EXPECT_EQ(sel::standardItem(itemAt(microphone, PRWRadialMenuLocationLeft)), PRWRadialMenuStandardItemCancel);
    EXPECT_EQ(itemAt(microphone, PRWRadialMenuLocationTop).get(), controller->microphoneRecordingSendAction.get());
    EXPECT_EQ(sel::standardItem(controller->microphoneRecordingSendAction), PRWRadialMenuStandardItemConfirm);
    EXPECT_EQ(itemAt(microphone, PRWRadialMenuLocationCenter).get(), controller->microphoneRecordingStopAction.get());
    EXPECT_EQ(imagePath(sel::image(controller->microphoneRecordingStopAction)), "ActionCameraStop.png");
    EXPECT_EQ(sel::items(microphone).count(), 3u);
    EXPECT_EQ(sel::standardItem(controller->microphoneRecordingPlaybackPlayAction), PRWRadialMenuStandardItemPlay);
    EXPECT_EQ(sel::standardItem(controller->microphoneRecordingPlaybackPauseAction), PRWRadialMenuStandardItemPause);
    EXPECT_TRUE(sel::locationStringForItem_(microphone, controller->microphoneRecordingPlaybackPlayAction).isNil());
}

TEST_F(MenuScreen, ActionsLogAndRearrangeTheMenus) {
    auto* c = controller.get();
    struct Step {
        const Sel<void(id)>* action;
        const char* log;
        PRWRadialMenu* menu;
        long long location;
        std::function<Ref<Object>()> item;  // expected at `location` afterwards
    };
    const Step steps[] = {
        {&sel::cameraRecord, "Camera: Start Recording", camera, PRWRadialMenuLocationRight, [c] { return c->cameraRecordingStopAction; }},
        {&sel::cameraStop, "Camera: Stop", camera, PRWRadialMenuLocationRight, [c] { return c->cameraRecordingPlaybackPlayAction; }},
        {&sel::cameraRecordingPlaybackPlay, "Camera: Play", camera, PRWRadialMenuLocationRight,
         [c] { return c->cameraRecordingPlaybackPauseAction; }},
        {&sel::cameraRecordingPlaybackPause, "Camera: Pause", camera, PRWRadialMenuLocationRight,
         [c] { return c->cameraRecordingPlaybackPlayAction; }},
        {&sel::microphoneStop, "Microphone: Stop", microphone, PRWRadialMenuLocationCenter,
         [c] { return c->microphoneRecordingPlaybackPlayAction; }},
        {&sel::microphoneRecordingPlaybackPlay, "Microphone: Play", microphone, PRWRadialMenuLocationCenter,
         [c] { return c->microphoneRecordingPlaybackPauseAction; }},
        {&sel::microphoneRecordingPlaybackPause, "Microphone: Pause", microphone, PRWRadialMenuLocationCenter,
         [c] { return c->microphoneRecordingPlaybackPlayAction; }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.log);
        log::clear();
        (*step.action)(controller);
        EXPECT_EQ(log::lines(), (Lines{step.log}));
        EXPECT_EQ(itemAt(step.menu, step.location).get(), step.item().get());
        if (step.action == &sel::cameraRecord) {
            EXPECT_TRUE(c->cameraRecording);
        }
        if (step.action == &sel::cameraStop) {
            EXPECT_FALSE(c->cameraRecording);
            EXPECT_EQ(itemAt(camera, PRWRadialMenuLocationTop).get(), c->cameraRecordingSendAction.get());
        }
    }
}

TEST_F(MenuScreen, ClosingAMenuInAnyWayPutsBackItsFirstItems) {
    auto* c = controller.get();
    struct Case {
        const char* name;
        PRWRadialMenu* menu;
        std::function<void()> change;
        std::function<void()> close;
        const char* log;  // the closing action's, if any
    };
    const Case cases[] = {
        {"camera: take and send", camera, [this] { sel::cameraStop(controller); }, [this] { sel::cameraTakeAndSendPhoto(controller); },
         "Camera: Take and Send Photo"},
        {"camera: send the recording", camera, [this] { sel::cameraRecord(controller); }, [this] { sel::cameraRecordingSend(controller); },
         "Camera: Sending Recording"},
        {"camera: cancel", camera, [this] { sel::cameraStop(controller); }, [this] { sel::cameraCancel(controller); }, "Camera: Cancel"},
        {"camera: dismissed by its owner", camera, [this] { sel::cameraStop(controller); }, [this] { sel::dismissMenuAnimated_(camera, false); },
         nullptr},
        {"microphone: cancel", microphone, [this] { sel::microphoneStop(controller); }, [this] { sel::microphoneCancel(controller); },
         "Microphone: Cancel"},
        {"microphone: send", microphone, [this] { sel::microphoneRecordingPlaybackPlay(controller); },
         [this] { sel::microphoneRecordingSend(controller); }, "Microphone: Sending Recording"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        sel::displayMenu(k.menu);
        advance(1.0);
        k.change();
        c->numberOfTimesCameraCancelButtonHasBeenHighlighted = 5;
        log::clear();
        k.close();
        EXPECT_EQ(sel::menuState(k.menu), PRWRadialMenuStateContracted);
        advance(1.0);
        Lines want;
        if (k.log) want.push_back(k.log);
        want.insert(want.end(), {"radialMenuWillDismiss", "radialMenuDidDismiss"});
        EXPECT_EQ(log::lines(), want);
        if (k.menu == camera.get()) {
            EXPECT_EQ(itemAt(camera, PRWRadialMenuLocationTop).get(), c->cameraPhotoTakeAndSendAction.get());
            EXPECT_EQ(itemAt(camera, PRWRadialMenuLocationRight).get(), c->cameraRecordingStartAction.get());
            EXPECT_EQ(c->numberOfTimesCameraCancelButtonHasBeenHighlighted, 0);
        } else {
            EXPECT_EQ(itemAt(microphone, PRWRadialMenuLocationCenter).get(), c->microphoneRecordingStopAction.get());
            EXPECT_FALSE(c->microphoneRecording);
        }
    }
}

TEST_F(MenuScreen, RecordingStopAndSendThroughTheFinger) {
    Ref<UITouch> t = touch::down(kCamera);
    advance(0.5);
    advance(1.0);  // fully open
    touch::move(t, Point{kCamera.x + 80, kCamera.y});  // over record: highlighting it starts the recording
    EXPECT_TRUE(controller->cameraRecording);
    EXPECT_EQ(itemAt(camera, PRWRadialMenuLocationRight).get(), controller->cameraRecordingStopAction.get());
    touch::up(t);  // lifts on the stop item that took its place
    EXPECT_FALSE(controller->cameraRecording);
    EXPECT_TRUE(sel::isMenuVisible(camera));
    press(Point{kCamera.x + 80, kCamera.y}, Point{kCamera.x, kCamera.y - 80});  // the menu is open: at once, then to send
    advance(1.0);
    EXPECT_EQ(log::lines(), (Lines{"radialMenuWillDisplay", "radialMenuDidDisplay", "Camera: Start Recording", "Camera: Stop",
                                   "Camera: Sending Recording", "radialMenuWillDismiss", "radialMenuDidDismiss"}));
    EXPECT_EQ(itemAt(camera, PRWRadialMenuLocationRight).get(), controller->cameraRecordingStartAction.get());
}

TEST_F(MenuScreen, TheCameraCancelActsOnlyAfterItWasHighlightedTwice) {
    Ref<UITouch> t = touch::down(kCamera);
    advance(0.5);  // began: nothing highlighted, then the centre
    touch::up(t);  // lifting there chooses it
    EXPECT_EQ(controller->numberOfTimesCameraCancelButtonHasBeenHighlighted, 1);
    EXPECT_TRUE(sel::isMenuVisible(camera));
    EXPECT_FALSE(log::contains("Camera: Cancel"));
    press(kCamera, Point{kCamera.x + 5, kCamera.y});  // the finger comes back to the centre
    EXPECT_TRUE(log::contains("Camera: Cancel"));
    EXPECT_FALSE(sel::isMenuVisible(camera));
    advance(1.0);
    EXPECT_EQ(controller->numberOfTimesCameraCancelButtonHasBeenHighlighted, 0);
}

TEST_F(MenuScreen, TheCameraMenuIsYellowWhileOpen) {
    Ref<Object> viewTint = sel::tintColor(sel::view(controller));
    Ref<Object> yellow = sel::colorWithHue_saturation_brightness_alpha_(objc_getClass("UIColor"), 0.1666666716337204, 1.0, 1.0, 1.0);
    sel::displayMenu(microphone);
    EXPECT_TRUE(as<UIColor>(sel::tintColor(camera).get())->sameComponents(*as<UIColor>(viewTint.get())));
    sel::dismissMenuAnimated_(microphone, true);
    sel::displayMenu(camera);
    auto* tint = as<UIColor>(sel::tintColor(camera).get());
    EXPECT_TRUE(tint->sameComponents(*as<UIColor>(yellow.get())));
    EXPECT_NEAR(tint->red(), 1.0, 1e-6);
    EXPECT_NEAR(tint->green(), 1.0, 1e-6);
    EXPECT_NEAR(tint->blue(), 0.0, 1e-6);
    sel::dismissMenuAnimated_(camera, true);
    EXPECT_TRUE(as<UIColor>(sel::tintColor(camera).get())->sameComponents(*as<UIColor>(viewTint.get())));
}

}  // namespace
}  // namespace rousa::testing
