pragma Singleton
import QtQuick

// What the shared controls share with the running shell, of which there is one per program.
QtObject {
    // The capture field waiting for a key: one at a time, since one capture serves the whole
    // program, so arming another field disarms it and clearing it disarms every field.
    property Item armedField: null
    // The window's one hover text (basic/HoverTip), none while no shell shows one. Untyped:
    // the tip shows its text with these controls, and a typed property would make the two
    // folders' files need each other.
    property var hoverTip: null
    // The program's texts in the current language; empty until the shell has them, and the
    // controls fall back to their built-in English.
    property var strings: []
}
