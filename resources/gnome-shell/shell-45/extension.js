// The Shell 45+ entry, an ES module; installed with metadata.json beside it
// and ../pointer@quorzane.org/pointerBridge.js in the same folder.

import GLib from 'gi://GLib';
import Gio from 'gi://Gio';
import Meta from 'gi://Meta';

import { Extension } from 'resource:///org/gnome/shell/extensions/extension.js';

import { PointerBridge } from './pointerBridge.js';

// Shell 47 moved the tracker to the backend.
function cursorTracker() {
    return global.backend.get_cursor_tracker?.() ?? Meta.CursorTracker.get_for_display(global.display);
}

export default class QuorzanePointer extends Extension {
    enable() {
        this._bridge = new PointerBridge({
            GLib,
            Gio,
            cursorTracker: cursorTracker(),
            pointer: () => global.get_pointer(),
            display: global.display,
        });
        this._bridge.start();
    }

    disable() {
        this._bridge?.stop();
        this._bridge = null;
    }
}
