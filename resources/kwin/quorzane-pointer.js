// Quorzane's pointer source in a Plasma Wayland session, where an X11 client
// cannot read the global cursor. Quorzane loads this file through KWin's
// scripting interface (plugin name "quorzane-pointer") and unloads it when it
// ends. It reports the pointer position to Quorzane's Moved(x, y) on the
// session bus, in KWin's global logical coordinates.
//
// Every call into this script and every bus message costs the compositor
// CPU, so the pointer is followed by sampling, not by event: the first motion
// after a rest is reported at once and disconnects the motion handler; a
// sample 50 ms after each report then reports the latest position if it
// changed. The first sample that finds the pointer where it was last reported
// connects the handler again and starts no timer, so nothing runs at rest,
// and the last report always carries the resting position (a corner rest
// needs the exact pixel).
//
// Works with KWin 5.27 and 6: both have workspace.cursorPos and
// workspace.cursorPosChanged, the global callDBus and a QTimer constructor.
//
// For the rules that hold patterns back it also reports the active window,
// ActiveWindow(fullScreen, class), when it or its full-screen state changes:
// rare events, so followed directly. KWin tells scripts nothing of the mouse
// buttons.

"use strict";

const service = "org.quorzane.Quorzane";
const path = "/org/quorzane/Quorzane/Pointer";
const pointerInterface = "org.quorzane.Quorzane.Pointer";
const reportInterval = 50; // milliseconds

let reportedX = 0;
let reportedY = 0;
// Single-shot, started again after each report: a repeating timer keeps its
// schedule, so a tick that KWin ran late would be followed by one too soon.
// Left coarse, as QTimer makes it: it may fire up to 5 % early (reports
// 47.5 ms apart), but Qt may then serve it in a wake-up that KWin makes
// anyway; a precise one measured dearer for KWin, not cheaper.
const sampler = new QTimer();
sampler.interval = reportInterval;
sampler.singleShot = true;

// callDBus without a callback sends the call and never waits for its reply.
// "| 0" keeps the coordinates integers, which go on the bus as int32.
function report(position) {
    reportedX = position.x | 0;
    reportedY = position.y | 0;
    callDBus(service, path, pointerInterface, "Moved", reportedX, reportedY);
}

function follow(position) {
    report(position);
    sampler.start();
}

function onFirstMotion() {
    workspace.cursorPosChanged.disconnect(onFirstMotion);
    follow(workspace.cursorPos);
    if (windowActivated !== undefined) {
        windowActivated.connect(onWindowActivated);
        onWindowActivated(activeWindow());
    }
}

function onSample() {
    const position = workspace.cursorPos;
    if ((position.x | 0) !== reportedX || (position.y | 0) !== reportedY) {
        follow(position);
        return;
    }
    workspace.cursorPosChanged.connect(onFirstMotion);
}

// KWin 6 says "window" where 5.27 says "client".
function activeWindow() {
    return workspace.activeWindow !== undefined ? workspace.activeWindow : workspace.activeClient;
}
const windowActivated = workspace.windowActivated || workspace.clientActivated;

// 5.27 hands an X11 window's class over as bytes, 6 as a string.
function classText(value) {
    if (typeof value === "string")
        return value;
    if (value instanceof ArrayBuffer)
        return String.fromCharCode.apply(null, new Uint8Array(value));
    return "";
}

let watchedWindow = null;
let reportedWindow = null;

// KWin activates a new window several times over: said once.
function reportActiveWindow() {
    const window = watchedWindow;
    const fullScreen = !!(window && window.fullScreen);
    const windowClass = window ? classText(window.resourceClass) : "";
    const report = fullScreen + " " + windowClass;
    if (report === reportedWindow)
        return;
    reportedWindow = report;
    callDBus(service, path, pointerInterface, "ActiveWindow", fullScreen, windowClass);
}

function onWindowActivated(window) {
    if (watchedWindow) {
        // A window that has closed took its connections with it.
        try {
            watchedWindow.fullScreenChanged.disconnect(reportActiveWindow);
        } catch (error) {
        }
    }
    watchedWindow = window || null;
    if (watchedWindow)
        watchedWindow.fullScreenChanged.connect(reportActiveWindow);
    reportActiveWindow();
}

if (workspace.cursorPosChanged === undefined || workspace.cursorPos === undefined) {
    console.error("quorzane-pointer: this KWin tells scripts nothing of the pointer");
} else {
    sampler.timeout.connect(onSample);
    // The start counts as a first motion: Quorzane has no position until the
    // first report, and that call tells it that the script runs.
    follow(workspace.cursorPos);
    if (windowActivated !== undefined) {
        windowActivated.connect(onWindowActivated);
        onWindowActivated(activeWindow());
    }
}
