// The Shell 43-44 entry: a legacy script whose init() returns the extension.
// The shared bridge is an ES module, loaded with import(), which such a
// script may use; enable() returns before the module has come, so a disable()
// in between must leave nothing running.
/* exported init */

const { GLib, Gio, Meta } = imports.gi;
const ExtensionUtils = imports.misc.extensionUtils;
const Main = imports.ui.main;

class QuorzanePointer {
    constructor(extension) {
        this._extension = extension;
        this._bridge = null;
        this._pending = null;
    }

    enable() {
        const pending = {};
        this._pending = pending;
        const bridgeFile = this._extension.dir.get_child('pointerBridge.js');
        import(bridgeFile.get_uri()).then(({ PointerBridge }) => {
            if (this._pending !== pending)
                return;
            this._pending = null;
            this._bridge = new PointerBridge({
                GLib,
                Gio,
                cursorTracker: Meta.CursorTracker.get_for_display(global.display),
                pointer: () => global.get_pointer(),
                display: global.display,
            });
            this._bridge.start();
        }).catch(error => {
            // Shows as the extension's error, where Quorzane looks for it.
            Main.extensionManager.logExtensionError(this._extension.uuid, error);
        });
    }

    disable() {
        this._pending = null;
        this._bridge?.stop();
        this._bridge = null;
    }
}

function init() {
    return new QuorzanePointer(ExtensionUtils.getCurrentExtension());
}
