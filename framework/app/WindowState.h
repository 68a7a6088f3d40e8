// The window side of the application: screen mode and display, focus and activation, modifier keys, cursors,
// the queue of platform events waiting for the loop, the debug overlay and a URL waiting to be opened.
#pragma once

#include "framework/platform/Platform.h"

#include <array>
#include <cstdint>
#include <list>
#include <string>

namespace Zestra
{

class Image;

struct WindowState
{
    bool mWindowed = true;
    bool mPhysWindowed = true;
    // A new window asked for while a mouse button is held is made when the button comes up: the old window takes
    // the release with it, and the display then drops the next press as a repeat of one it still thinks is down.
    bool mWindowAwaitsRelease = false;
    bool mFullscreenOnly = false;
    bool mTriedWindowedFallback = false;
    bool mFullscreenWindow = false;
    bool mAllowMaximize = false;
    int mWindowedOverride = -1; // "-windowed" 1, "-fullscreen" 0: wins over the "ScreenMode" setting
    int mPreferredX = -1;
    int mPreferredY = -1;
    bool mAppActive = true;
    bool mWindowMinimized = false;
    bool mHasFocus = true;
    bool mWindowDisabled = false;
    bool mMouseInWindow = false;
    bool mScreenSaverMode = false;
    bool mAllowMonitorPowerOff = true;
    bool mSingleInstance = true;

    // Display.
    bool mIs3D = false;
    // While no "Is3D" setting is stored, the first window lets the display choose 3D by itself (on real hardware).
    bool mAuto3D = false;
    bool mChoose3DAutomatically = false;
    bool mDisplayLost = false;
    bool mDisplayCreated = false;
    bool mDrawing = false;
    uint64_t mLastRecoveryTry = 0;

    // Input.
    bool mCtrlDown = false;
    bool mAltDown = false;
    bool mShiftDown = false;
    bool mDeferMessages = true;
    std::list<PlatformEvent> mDeferredMessages;

    // Cursors: kinds 0..12.
    int mCursor = 0;
    bool mCustomCursorsEnabled = false;
    std::array<Image*, 13> mCursorImages{}; // not owned

    // Debug overlay.
    bool mShowOverlay = false;
    int mOverlayMode = 0; // 0 frame rate, 1 pointer position

    // Pending URL open.
    std::string mPendingUrl;
    bool mPendingUrlQuit = false;
    uint64_t mPendingUrlTime = 0;
};

} // namespace Zestra
