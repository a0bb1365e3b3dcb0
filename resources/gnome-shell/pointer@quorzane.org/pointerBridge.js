// Tells Quorzane where the pointer is, for its patterns: X11 clients cannot
// read the pointer of a Wayland session. Shared by both entry forms of the
// extension (Shell 43-44 and 45+), so it imports nothing: each entry hands it
// the libraries and the shell's cursor tracker.
//
// Cost comes first, since every motion event passes through the shell: the
// motion handler runs once per stretch of movement, then a 50 ms tick looks
// at the position and reports it if it changed. A tick that sees no change
// stops itself and hands back to the motion handler, so a resting pointer
// costs nothing, and the last report of a stretch is where the pointer rests.
// Nothing runs while Quorzane is not on the bus.
//
// For the rules that hold patterns back, it also says which window is active
// (its class, and whether it is full screen) when that changes, and whether a
// mouse button is held, as of the latest look at the pointer.

const BusName = 'org.quorzane.Quorzane';
const ObjectPath = '/org/quorzane/Quorzane/Pointer';
const Interface = 'org.quorzane.Quorzane.Pointer';
const TickInterval = 50; // milliseconds
// Clutter's BUTTON1_MASK to BUTTON5_MASK.
const ButtonMasks = 0x1f00;

export class PointerBridge {
    // `pointer` returns [x, y, modifiers] in global logical coordinates;
    // `display` is the shell's Meta.Display.
    constructor({ GLib, Gio, cursorTracker, pointer, display }) {
        this._GLib = GLib;
        this._Gio = Gio;
        this._tracker = cursorTracker;
        this._pointer = pointer;
        this._bus = Gio.DBus.session;
        this._watchId = 0;
        this._receiver = null; // Quorzane's unique name while it runs
        this._motionId = 0;
        this._tickId = 0;
        this._last = null;
        this._display = display;
        this._focusId = 0;
        this._window = null;
        this._fullscreenId = 0;
        this._held = false;
    }

    start() {
        this._watchId = this._Gio.bus_watch_name_on_connection(this._bus, BusName,
            this._Gio.BusNameWatcherFlags.NONE,
            (_bus, _name, owner) => this._follow(owner),
            () => this._unfollow());
    }

    stop() {
        if (this._watchId)
            this._Gio.bus_unwatch_name(this._watchId);
        this._watchId = 0;
        this._unfollow();
    }

    _follow(owner) {
        this._unfollow();
        this._receiver = owner;
        // A program that has just started knows nowhere yet.
        this._report(this._pointer());
        this._reportButtons(this._pointer(), true);
        this._listen();
        this._focusId = this._display.connect('notify::focus-window', () => this._onFocus());
        this._onFocus();
    }

    _unfollow() {
        this._receiver = null;
        this._last = null;
        if (this._focusId)
            this._display.disconnect(this._focusId);
        this._focusId = 0;
        this._watchWindow(null);
        this._deafen();
        if (this._tickId)
            this._GLib.source_remove(this._tickId);
        this._tickId = 0;
    }

    _listen() {
        this._motionId = this._tracker.connect('position-invalidated', () => this._onFirstMotion());
    }

    _deafen() {
        if (this._motionId)
            this._tracker.disconnect(this._motionId);
        this._motionId = 0;
    }

    _onFirstMotion() {
        this._deafen();
        // A pointer pushed against the edge of the screen moves without a
        // change of place: nothing new to say then.
        const position = this._pointer();
        this._reportButtons(position, false);
        if (!this._samePlace(position))
            this._report(position);
        this._tickId = this._GLib.timeout_add(this._GLib.PRIORITY_DEFAULT, TickInterval, () => this._onTick());
    }

    _onTick() {
        const position = this._pointer();
        this._reportButtons(position, false);
        if (!this._samePlace(position)) {
            this._report(position);
            return this._GLib.SOURCE_CONTINUE;
        }
        this._tickId = 0;
        this._listen();
        return this._GLib.SOURCE_REMOVE;
    }

    _samePlace([x, y]) {
        return this._last !== null && this._last[0] === x && this._last[1] === y;
    }

    _onFocus() {
        this._watchWindow(this._display.focus_window);
        this._reportWindow();
    }

    _watchWindow(window) {
        if (this._fullscreenId) {
            // The window may be gone already; its handler went with it.
            try {
                this._window.disconnect(this._fullscreenId);
            } catch (_) {
            }
        }
        this._window = window;
        this._fullscreenId = window ? window.connect('notify::fullscreen', () => this._reportWindow()) : 0;
    }

    _reportWindow() {
        const window = this._window;
        const { Variant } = this._GLib;
        this._send('ActiveWindow', Variant.new_tuple([
            Variant.new_boolean(window !== null && window.is_fullscreen()),
            Variant.new_string(window?.get_wm_class() ?? '')]));
    }

    _reportButtons([, , modifiers], always) {
        const held = ((modifiers ?? 0) & ButtonMasks) !== 0;
        if (held === this._held && !always)
            return;
        this._held = held;
        this._send('ButtonsHeld', this._GLib.Variant.new_tuple([this._GLib.Variant.new_boolean(held)]));
    }

    _report([x, y]) {
        this._last = [x, y];
        // GLib's own constructors build the arguments faster than GJS's
        // signature parser: 9 microseconds against 16, of some 45 a report.
        const { Variant } = this._GLib;
        this._send('Moved', Variant.new_tuple([Variant.new_int32(x), Variant.new_int32(y)]));
    }

    // A null callback sends the call flagged as wanting no reply: the shell
    // never waits on Quorzane, and the bus sends nothing back.
    _send(method, parameters) {
        this._bus.call(this._receiver, ObjectPath, Interface, method, parameters, null,
            this._Gio.DBusCallFlags.NO_AUTO_START, -1, null, null);
    }
}
