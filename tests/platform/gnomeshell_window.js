// A Wayland client window under the application id given as the argument, for the test with
// the real shell to move the focus between. It stays until it is killed.
imports.gi.versions.Gtk = '4.0';
const {Gio, Gtk} = imports.gi;

const app = new Gtk.Application({
    application_id: ARGV[0],
    flags: Gio.ApplicationFlags.NON_UNIQUE,
});
app.connect('activate', () => new Gtk.ApplicationWindow({application: app, title: ARGV[0]}).present());
app.run([]);
