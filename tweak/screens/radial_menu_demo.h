// MenuViewController: a sample client of the radial menu, kept in the library
// but made by none of its code. It shows a camera menu and a microphone menu
// whose items change as a recording is started, stopped, played, paused or
// sent; its actions only log what they would do and rearrange the menus, and
// every close of a menu puts back its first items. Main thread only.
#pragma once

#include "platform/uikit/view_controller.h"
#include "tweak/screens/radial_menu.h"

namespace rousa {

namespace sel {
inline constexpr Sel<void(id)> resetCameraRadialMenu{"resetCameraRadialMenu"};
inline constexpr Sel<void(id)> cameraCancel{"cameraCancel"};
inline constexpr Sel<void(id)> cameraTakeAndSendPhoto{"cameraTakeAndSendPhoto"};
inline constexpr Sel<void(id)> cameraRecord{"cameraRecord"};
inline constexpr Sel<void(id)> cameraStop{"cameraStop"};
inline constexpr Sel<void(id)> cameraRecordingSend{"cameraRecordingSend"};
inline constexpr Sel<void(id)> cameraRecordingPlaybackPlay{"cameraRecordingPlaybackPlay"};
inline constexpr Sel<void(id)> cameraRecordingPlaybackPause{"cameraRecordingPlaybackPause"};
inline constexpr Sel<void(id)> resetMicrophoneRadialMenu{"resetMicrophoneRadialMenu"};
inline constexpr Sel<void(id)> microphoneCancel{"microphoneCancel"};
inline constexpr Sel<void(id)> microphoneStop{"microphoneStop"};
inline constexpr Sel<void(id)> microphoneRecordingSend{"microphoneRecordingSend"};
inline constexpr Sel<void(id)> microphoneRecordingPlaybackPlay{"microphoneRecordingPlaybackPlay"};
inline constexpr Sel<void(id)> microphoneRecordingPlaybackPause{"microphoneRecordingPlaybackPause"};
}  // namespace sel

class MenuViewController : public UIViewController {
public:
    bool cameraRecording = false;
    long long numberOfTimesCameraCancelButtonHasBeenHighlighted = 0;
    Ref<Object> cameraRadialMenu;
    Ref<Object> cameraPhotoTakeAndSendAction;
    Ref<Object> cameraRecordingStartAction;
    Ref<Object> cameraRecordingStopAction;
    Ref<Object> cameraRecordingPlaybackPlayAction;
    Ref<Object> cameraRecordingPlaybackPauseAction;
    Ref<Object> cameraRecordingSendAction;
    bool microphoneRecording = false;
    Ref<Object> microphoneRadialMenu;
    Ref<Object> microphoneRecordingStopAction;
    Ref<Object> microphoneRecordingPlaybackPlayAction;
    Ref<Object> microphoneRecordingPlaybackPauseAction;
    Ref<Object> microphoneRecordingSendAction;
};

void registerRadialMenuDemoClass();

}  // namespace rousa
