#include "adlib/foundation/intrinsic_images.h"

#include <atomic>
#include <mutex>

#include "adlib/foundation/device.h"
#include "adlib/foundation/string_encoding.h"
#include "platform/uikit/graphics.h"
#include "platform/uikit/image.h"

namespace adlib {

namespace {

// Drawn by tools/intrinsic-images: white marks on transparent ground, 27 and
// 54 pixels for the arrows, 25 and 50 for the close mark.
constexpr const char* kBrowserBackButton =
    "iVBORw0KGgoAAAANSUhEUgAAABsAAAAbCAQAAAAn3TzeAAAF2ElEQVR4AQHNBTL6AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/Vv/q/6v/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP9W/////////xb/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/1b///////"
    "//iP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/Vv////////+I/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP9W/////////4j/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/1b/////////iP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/Vv////////+I/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP9W/////////4j/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/1X/////////iP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP+1//////+I/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/Vf////////+I/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/Vv////////+I/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/Vv////////+I/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/Vv////////+I/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/Vv////////+I/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/Vv////////+I/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/Vv////////+I/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/Vv////"
    "////8W/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/Vv/q/6v/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8ABBEaMB49DboAAAAASUVORK5CYII=";
constexpr const char* kBrowserBackButton2x =
    "iVBORw0KGgoAAAANSUhEUgAAADYAAAA2CAQAAAAmTKJWAAAXCUlEQVR4AQH+FgHpAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/Kv+y/+X/"
    "rv8j/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8s/+H/////////y/8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f//////////////Kv8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/LP/h////////////////"
    "/xn/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8s/+H/////////////////j/8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/LP/h/////////////////5H/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8s/+H/////////////////kf8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/LP/h/////////////////5H/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8s/+H///////"
    "//////////kf8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "AA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/LP/h/////////////////5H/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8s/+H/////////////////kf"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/LP/h/////////////////5H/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8s/+H/////////////////kf8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wr/"
    "3v////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP9g/////////////////5H/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/YP////////////////+R/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wr/3v//"
    "//////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/"
    "4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+R/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/yz/4f////////////////+R/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////+P/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f////////////////8Z/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/yz/4f//////////////Kv8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4f/////////L/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yr/sv/l/67/I/8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AhbRk67AH"
    "oeUAAAAASUVORK5CYII=";
constexpr const char* kBrowserForwardButton =
    "iVBORw0KGgoAAAANSUhEUgAAABsAAAAbCAQAAAAn3TzeAAAF2ElEQVR4AQHNBTL6AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/q//q/1b/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8W/////////1b/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP+I/////////1b/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP+I/////////1b/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP+I/////////1b/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+I/////////1"
    "b/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+I/////////1b/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+I/////////1b/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+I//"
    "///////1X/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+I//////+1/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/4j/////////Vf8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/iP////"
    "////9W/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+I/////////1b/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/4j/////////Vv8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/iP////////9W/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP+I/////////1b/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/4j/////////Vv8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/Fv////////9W/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/q//q/1b/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AhX4aMJjWVSYAAAAASUVORK5CYII=";
constexpr const char* kBrowserForwardButton2x =
    "iVBORw0KGgoAAAANSUhEUgAAADYAAAA2CAQAAAAmTKJWAAAXCUlEQVR4AQH+FgHpAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yP/rv/l/7L/Kv8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP/L//////"
    "///+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/yr//////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8Z/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+P//////////"
    "///////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R//////"
    "///////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R//"
    "///////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "AA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////+H/LP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////+H/LP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////97/Cv8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////2D/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/kf////////////////9g/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////97/Cv8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/5H/////////////////4f8s/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/kf////"
    "/////////////h/yz/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/5H/////////////////4f8s/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/kf////////////////"
    "/h/yz/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/5H/////////////////4f8s/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/kf/////////////////h/yz/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP+R/////////////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/5H/////////////////4f8s/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/kf/////////////////h/yz/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+R////////"
    "/////////+H/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/4//////////////////4f8s/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/Gf/////////////////h/yz/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yr//////////////+H/"
    "LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/8v/////////4f8s/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8j/67/5f+y/yr/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8Aufxk62I9"
    "t5kAAAAASUVORK5CYII=";
constexpr const char* kCloseButton =
    "iVBORw0KGgoAAAANSUhEUgAAABkAAAAZCAQAAABu4E3oAAAFBklEQVR4AQH7BAT7AP8A/wD/AP8A/wD/AP8A/wD/AP8A/xb/Nf9A/zX/Fv8A/w"
    "D/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/yv/i//Y///////////////Y/4v/K/8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/C/+W"
    "//////////////////////////////+W/wv/AP8A/wD/AP8AAP8A/wD/AP8A/zX/2P////////+8/3j/Tv9A/07/eP+8/////////9j/Nf8A/w"
    "D/AP8AAP8A/wD/AP81/+///////67/Mv8A/wD/AP8A/wD/AP8A/zL/rv//////7/81/wD/AP8AAP8A/wD/C//Y//////94/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AP94///////Y/wv/AP8AAP8A/wD/lv//////eP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/3j//////5b/AP8AAP8A/yv///"
    "///67/AP8A/7D/9f9W/wD/AP8A/wD/AP9W//X/sP8A/wD/rv//////K/8AAP8A/4v//////zL/AP8A//X//////1b/AP8A/wD/Vv//////9f8A"
    "/wD/Mv//////i/8AAP8A/9j///+8/wD/AP8A/1b/////////Vv8A/1b/////////Vv8A/wD/AP+8////2P8AAP8W//////94/wD/AP8A/wD/Vv"
    "////////9W/////////1b/AP8A/wD/AP94//////8WAP81//////9O/wD/AP8A/wD/AP9W//////////////9W/wD/AP8A/wD/AP9O//////81"
    "AP9A//////9A/wD/AP8A/wD/AP8A/1b/////////Vv8A/wD/AP8A/wD/AP9A//////9AAP81//////9O/wD/AP8A/wD/AP9W//////////////"
    "9W/wD/AP8A/wD/AP9O//////81AP8W//////94/wD/AP8A/wD/Vv////////9W/////////1b/AP8A/wD/AP94//////8WAP8A/9j///+8/wD/"
    "AP8A/1b/////////Vv8A/1b/////////Vv8A/wD/AP+8////2P8AAP8A/4v//////zL/AP8A//X//////1b/AP8A/wD/Vv//////9f8A/wD/Mv"
    "//////i/8AAP8A/yv//////67/AP8A/7D/9f9W/wD/AP8A/wD/AP9W//X/sP8A/wD/rv//////K/8AAP8A/wD/lv//////eP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/3j//////5b/AP8AAP8A/wD/C//Y//////94/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP94///////Y/wv/AP8AAP8A/w"
    "D/AP81/+///////67/Mv8A/wD/AP8A/wD/AP8A/zL/rv//////7/81/wD/AP8AAP8A/wD/AP8A/zX/2P////////+8/3j/Tv9A/07/eP+8////"
    "/////9j/Nf8A/wD/AP8AAP8A/wD/AP8A/wD/C/+W//////////////////////////////+W/wv/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/y"
    "v/i//Y///////////////Y/4v/K/8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/xb/Nf9A/zX/Fv8A/wD/AP8A/wD/AP8A/wD/"
    "AP8AzjNTuCkDLeoAAAAASUVORK5CYII=";
constexpr const char* kCloseButton2x =
    "iVBORw0KGgoAAAANSUhEUgAAADIAAAAyCAQAAAC0NkA6AAATxUlEQVR4AQG6E0XsAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8T/z3/Xv9z/37/fv9z/17/Pf8T/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/w"
    "D/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/0j/lP/W////////////////////////////1v+U/0j/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/E/9+/+H///////////////////////////////////"
    "/////////h/37/E/8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/fv/3////////////////"
    "///////////////////////////////////////3/37/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/0"
    "j/1v/////////////////////////////////////////////////////////////////W/0j/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/37////////////////////////////T/6r/j/+B/4H/j/+q/9P///////////////////////////9+/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/5///////////////////////6r/WP8S/wD/AP8A/wD/AP8A/wD/AP8S/1j/qv//////"
    "////////////////n/8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/6r///////////////////+P/yD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/yD/j////////////////////6r/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/5//////////////////uP8u"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/y7/uP////////////////+f/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/3"
    "7/////////////////gf8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/4H/////////////////fv8A/wD/AP8A"
    "/wD/AAD/AP8A/wD/AP8A/0j/////////////////Zv8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP9m//"
    "///////////////0j/AP8A/wD/AP8AAP8A/wD/AP8A/wD/1v//////////////Zv8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8A/wD/AP8A/wD/Zv//////////////1v8A/wD/AP8A/wAA/wD/AP8A/wD/fv//////////////gf8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/4H//////////////37/AP8A/wD/AAD/AP8A/wD/E//3////////////uP8A"
    "/wD/AP8A/yz/w////8P/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8s/8P////D/yz/AP8A/wD/AP+4////////////9/8T/wD/AP8AAP8A/w"
    "D/AP9+//////////////8u/wD/AP8A/wD/w//////////g/yz/AP8A/wD/AP8A/wD/AP8A/wD/AP8s/+D/////////w/8A/wD/AP8A/y7/////"
    "/////////37/AP8A/wAA/wD/AP8A/+H///////////+P/wD/AP8A/wD/AP//////////////4P8s/wD/AP8A/wD/AP8A/wD/AP8s/+D///////"
    "///////wD/AP8A/wD/AP+P////////////4f8A/wD/AAD/AP8A/0j//////////////yD/AP8A/wD/AP8A/8P//////////////+D/LP8A/wD/"
    "AP8A/wD/AP8s/+D//////////////8P/AP8A/wD/AP8A/yD//////////////0j/AP8AAP8A/wD/lP///////////6r/AP8A/wD/AP8A/wD/LP"
    "/g///////////////g/yz/AP8A/wD/AP8s/+D//////////////+D/LP8A/wD/AP8A/wD/AP+q////////////lP8A/wAA/wD/AP/W////////"
    "////WP8A/wD/AP8A/wD/AP8A/yz/4P//////////////4P8s/wD/AP8s/+D//////////////+D/LP8A/wD/AP8A/wD/AP8A/1j///////////"
    "/W/wD/AAD/AP8T//////////////8S/wD/AP8A/wD/AP8A/wD/AP8s/+D//////////////+D/LP8s/+D//////////////+D/LP8A/wD/AP8A"
    "/wD/AP8A/wD/Ev//////////////E/8AAP8A/z3////////////T/wD/AP8A/wD/AP8A/wD/AP8A/wD/LP/g///////////////g/+D///////"
    "///////+D/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/9P///////////89/wAA/wD/Xv///////////6r/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/"
    "4P///////////////////////////+D/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/qv///////////17/AAD/AP9z////////////j/8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8s/+D//////////////////////+D/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+P////////////c/8AAP8A"
    "/37///////////+B/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/LP/g/////////////////+D/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/4H///////////9+/wAA/wD/fv///////////4H/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8s/+D/////////////////4P8s/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/gf///////////37/AAD/AP9z////////////j/8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8s/+D///////"
    "///////////////+D/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+P////////////c/8AAP8A/17///////////+q/wD/AP8A/wD/AP8A/wD/"
    "AP8A/wD/AP8s/+D////////////////////////////g/yz/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/6r///////////9e/wAA/wD/Pf////////"
    "///9P/AP8A/wD/AP8A/wD/AP8A/wD/AP8s/+D//////////////+D/4P//////////////4P8s/wD/AP8A/wD/AP8A/wD/AP8A/wD/0///////"
    "/////z3/AAD/AP8T//////////////8S/wD/AP8A/wD/AP8A/wD/AP8s/+D//////////////+D/LP8s/+D//////////////+D/LP8A/wD/AP"
    "8A/wD/AP8A/wD/Ev//////////////E/8AAP8A/wD/1v///////////1j/AP8A/wD/AP8A/wD/AP8s/+D//////////////+D/LP8A/wD/LP/g"
    "///////////////g/yz/AP8A/wD/AP8A/wD/AP9Y////////////1v8A/wAA/wD/AP+U////////////qv8A/wD/AP8A/wD/AP8s/+D///////"
    "///////+D/LP8A/wD/AP8A/yz/4P//////////////4P8s/wD/AP8A/wD/AP8A/6r///////////+U/wD/AAD/AP8A/0j//////////////yD/"
    "AP8A/wD/AP8A/8P//////////////+D/LP8A/wD/AP8A/wD/AP8s/+D//////////////8P/AP8A/wD/AP8A/yD//////////////0j/AP8AAP"
    "8A/wD/AP/h////////////j/8A/wD/AP8A/wD//////////////+D/LP8A/wD/AP8A/wD/AP8A/wD/LP/g//////////////8A/wD/AP8A/wD/"
    "j////////////+H/AP8A/wAA/wD/AP8A/37//////////////y7/AP8A/wD/AP/D/////////+D/LP8A/wD/AP8A/wD/AP8A/wD/AP8A/yz/4P"
    "/////////D/wD/AP8A/wD/Lv//////////////fv8A/wD/AAD/AP8A/wD/E//3////////////uP8A/wD/AP8A/yz/w////8P/LP8A/wD/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8s/8P////D/yz/AP8A/wD/AP+4////////////9/8T/wD/AP8AAP8A/wD/AP8A/37//////////////4H/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP+B//////////////9+/wD/AP8A/wAA/wD/AP8A/wD/"
    "AP/W//////////////9m/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP9m///////////////W/w"
    "D/AP8A/wD/AAD/AP8A/wD/AP8A/0j/////////////////Zv8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/"
    "AP9m/////////////////0j/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP9+/////////////////4H/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP+B/////////////////37/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/n/////////////////+4/y7/AP8A"
    "/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/Lv+4/////////////////5//AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/6"
    "r///////////////////+P/yD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/yD/j////////////////////6r/AP8A/wD/AP8A/wD/AP8A"
    "AP8A/wD/AP8A/wD/AP8A/wD/AP+f//////////////////////+q/1j/Ev8A/wD/AP8A/wD/AP8A/wD/Ev9Y/6r//////////////////////5"
    "//AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/fv///////////////////////////9P/qv+P/4H/gf+P/6r/0///////"
    "/////////////////////37/AP8A/wD/AP8A/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/0j/1v////////////////////////"
    "/////////////////////////////////////////W/0j/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A"
    "/37/9///////////////////////////////////////////////////////9/9+/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8T/37/4f///////////////////////////////////////////+H/fv8T/wD/AP8A/wD/AP8A/wD/AP8A"
    "/wD/AP8A/wD/AAD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/0j/lP/W////////////////////////////1v+U/0j/AP8A/w"
    "D/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8AAP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/E/89/17/c/9+/37/"
    "c/9e/z3/E/8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wAA/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP"
    "8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AP8A/wD/AFeAStR04DTAAAAAAElFTkSu"
    "QmCC";

double density() { return sel::screenDensity(YBXDevice::currentDevice()); }

Ref<Object> imageFromBase64(std::string_view text, double scale) {
    auto data = rfc4648Base64StringEncoding()->decode(text);
    if (!data) return nullptr;
    return Ref<Object>(UIImage::fromData(*data, scale));
}

// One built-in image: the form for the screen, at that form's own scale (1 or
// 2), so that it keeps its point size on any screen. The density is read
// before the guard is entered: it may need the main thread.
struct BuiltInImage {
    const char* single;
    const char* doubleDensity;
    std::once_flag once;
    Ref<Object> image;

    Ref<Object> get() {
        const bool singleDensity = density() == 1.0;
        std::call_once(once, [&] {
            image = singleDensity ? imageFromBase64(single, 1.0) : imageFromBase64(doubleDensity, 2.0);
        });
        return image;
    }
};

BuiltInImage& backButton() {
    static auto* image = new BuiltInImage{kBrowserBackButton, kBrowserBackButton2x, {}, {}};
    return *image;
}
BuiltInImage& forwardButton() {
    static auto* image = new BuiltInImage{kBrowserForwardButton, kBrowserForwardButton2x, {}, {}};
    return *image;
}
BuiltInImage& closeMark() {
    static auto* image = new BuiltInImage{kCloseButton, kCloseButton2x, {}, {}};
    return *image;
}

// A fully transparent 10 x 10 point image at the screen's scale, drawn once.
Ref<Object> transparentImage() {
    static Ref<Object>* image = [] {
        UIGraphicsBeginImageContextWithOptions(Size{10, 10}, false, density());
        auto* made = new Ref<Object>(UIGraphicsGetImageFromCurrentImageContext());
        UIGraphicsEndImageContext();
        return made;
    }();
    return *image;
}

}  // namespace

Ref<Object> YBXIntrinsicImagesSharedInstance() {
    static Ref<Object>* shared = new Ref<Object>(sel::init(alloc("YBXIntrinsicImages")));
    return *shared;
}

void registerIntrinsicImagesClass() {
    ClassBuilder<NSObject>("YBXIntrinsicImages", "NSObject")
        .classMethod(sel::sharedInstance, [](id) { return YBXIntrinsicImagesSharedInstance(); })
        .method(sel::browserBackButton, [](id) { return backButton().get(); })
        .method(sel::browserForwardButton, [](id) { return forwardButton().get(); })
        .method(sel::closeButton, [](id) { return closeMark().get(); })
        .method(sel::transparentImage, [](id) { return transparentImage(); })
        .method(sel::imageWithBase64EncodedString_, [](id, std::string text) {
            double scale = density();
            return imageFromBase64(text, scale > 0 ? scale : 1.0);
        })
        .method(sel::chooseImage_orDoubleDensityImage_, [](id, Value single, Value doubleDensity) {
            YBXDevice* device = YBXDevice::currentDevice();
            if (!device || !respondsToSelector(device, sel::screenDensity.name)) return Value();
            return sel::screenDensity(device) == 1.0 ? single : doubleDensity;
        });
}

}  // namespace adlib
