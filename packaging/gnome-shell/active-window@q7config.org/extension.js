// Tells q7config which window has the keyboard focus. On Wayland the program cannot see
// other clients' windows, and this shell offers no portal for it, so the shell says it:
// the WM class, its instance, the application id and the process id, nothing more.
'use strict';

const {Gio, GLib, Shell} = imports.gi;

// The same body runs as the ES module of newer shells: keep it free of imports and exports.
// --- body ---
const BUS_NAME = 'org.q7config.ActiveWindow';
const OBJECT_PATH = '/org/q7config/ActiveWindow';

function describe(window) {
    if (!window)
        return ['', '', '', 0];
    // The tracker invents "window:N" ids for windows it matches to no desktop file.
    const app = Shell.WindowTracker.get_default().get_window_app(window);
    const appId = (app && !app.is_window_backed() && app.get_id()) ||
        window.get_sandboxed_app_id() || window.get_gtk_application_id() || '';
    return [window.get_wm_class() || '', window.get_wm_class_instance() || '', appId,
        Math.max(window.get_pid(), 0)];
}

class ActiveWindowPublisher {
    constructor(dir) {
        this._dir = dir;
    }

    enable() {
        // The interface file beside this one is its only description.
        const [, xml] = this._dir.get_child(`${BUS_NAME}.xml`).load_contents(null);
        this._object = Gio.DBusExportedObject.wrapJSObject(new TextDecoder().decode(xml), this);
        this._object.export(Gio.DBus.session, OBJECT_PATH);
        this._focusId = global.display.connect('notify::focus-window', () => {
            const window = global.display.focus_window;
            // Focus leaving every window is no new application: the last one stands.
            if (window) {
                this._object.emit_signal('FocusChanged',
                    new GLib.Variant('(sssu)', describe(window)));
            }
        });
        // Owned last, so a client that sees the name finds the object and the signal there.
        this._nameId = Gio.bus_own_name_on_connection(Gio.DBus.session, BUS_NAME,
            Gio.BusNameOwnerFlags.NONE, null, null);
    }

    disable() {
        Gio.bus_unown_name(this._nameId);
        global.display.disconnect(this._focusId);
        this._object.unexport();
        this._object = null;
    }

    GetFocusedWindow() {
        return describe(global.display.focus_window);
    }
}
// --- end of body ---

function init(meta) {
    return new ActiveWindowPublisher(meta.dir);
}
