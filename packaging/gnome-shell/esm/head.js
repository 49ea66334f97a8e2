// Tells q7config which window has the keyboard focus; the ES module form newer shells load.
// Written at build time around the body of the older form's extension.js.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import Shell from 'gi://Shell';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

