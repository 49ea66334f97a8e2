import QtQml
import "ControlRules.js" as Rules

// The names screen readers give the controls, from the current language's own section of the
// language file; a page reloads them when the language changes.
QtObject {
    property var texts: ({})
    function reload() {
        texts = ui_View.getSectionStrings("names") || {}
    }
    function text(key, fallback, args) {
        return Rules.named(texts, key, fallback, args)
    }
}
