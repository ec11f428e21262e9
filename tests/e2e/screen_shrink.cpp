#include "screen_shrink.h"

// Before Xlibint.h, whose min and max macros break the standard headers.
#include <cstdint>
#include <vector>

#include <X11/Xlibint.h>
#include <X11/extensions/randr.h>
#include <X11/extensions/randrproto.h>

namespace inkrelay::test {
namespace {

// The raw requests: the tests have Xlib's protocol headers but not libXrandr.
template <typename Request>
Request* NewRequest(Display* dpy, int major, int minor) {
    auto* request =
        static_cast<Request*>(_XGetRequest(dpy, static_cast<CARD8>(major), sizeof(Request)));
    request->randrReqType = static_cast<CARD8>(minor);
    return request;
}

}  // namespace

bool ShrinkScreen(Display* dpy, int width, int height) {
    int major = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(dpy, "RANDR", &major, &firstEvent, &firstError)) {
        return false;
    }
    const Window root = DefaultRootWindow(dpy);

    LockDisplay(dpy);
    NewRequest<xRRGetScreenResourcesReq>(dpy, major, X_RRGetScreenResources)->window = root;
    xRRGetScreenResourcesReply resources{};
    bool ok = _XReply(dpy, reinterpret_cast<xReply*>(&resources), 0, xFalse) != 0;
    std::vector<CARD32> lists(ok ? resources.length : 0);
    if (ok) {
        _XRead(dpy, reinterpret_cast<char*>(lists.data()),
               static_cast<long>(lists.size() * sizeof(CARD32)));
    }
    ok = ok && resources.nCrtcs > 0;
    if (ok) {
        // The screen cannot shrink below what a CRTC shows, so the CRTC goes off first.
        auto* off = NewRequest<xRRSetCrtcConfigReq>(dpy, major, X_RRSetCrtcConfig);
        off->crtc = lists[0];
        off->timestamp = resources.timestamp;
        off->configTimestamp = resources.configTimestamp;
        off->x = 0;
        off->y = 0;
        off->mode = None;
        off->rotation = RR_Rotate_0;
        off->pad = 0;
        xRRSetCrtcConfigReply set{};
        ok = _XReply(dpy, reinterpret_cast<xReply*>(&set), 0, xTrue) != 0 &&
             set.status == RRSetConfigSuccess;
    }
    if (ok) {
        auto* size = NewRequest<xRRSetScreenSizeReq>(dpy, major, X_RRSetScreenSize);
        size->window = root;
        size->width = static_cast<CARD16>(width);
        size->height = static_cast<CARD16>(height);
        size->widthInMillimeters = static_cast<CARD32>(width / 4);
        size->heightInMillimeters = static_cast<CARD32>(height / 4);
    }
    UnlockDisplay(dpy);
    SyncHandle();
    XSync(dpy, False);
    return ok;
}

}  // namespace inkrelay::test
