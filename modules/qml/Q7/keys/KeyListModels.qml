import QtQuick
import "../../common/ControlRules.js" as Texts
import "KeyRules.js" as Rules

// The fixed lists of the key page, in their built-in English until the language is loaded.
QtObject {
    property ListModel functionModel: ListModel {}
    property ListModel mouseModel: ListModel {}
    property ListModel mediaModel: ListModel {}
    property ListModel comboModel: ListModel {}
    property ListModel fireModel: ListModel {}
    // Rows of the macro list (textX: name, textR: empty).
    property ListModel macroModel: ListModel {}

    // The texts of the language list `list`, the built-in English where it has none.
    function translate(list) {
        var i
        for (i = 0; i < functionModel.count; ++i)
            functionModel.setProperty(i, "textX", Texts.text(list, Rules.functionStrings[i], Rules.functionTexts[i]))
        for (i = 0; i < mouseModel.count; ++i)
            mouseModel.setProperty(i, "textX", Texts.text(list, Rules.mouseItems[i].string, Rules.mouseItems[i].text))
        for (i = 0; i < fireModel.count; ++i)
            fireModel.setProperty(i, "textX", Texts.text(list, Rules.mouseItems[i].string, Rules.mouseItems[i].text))
        for (i = 0; i < mediaModel.count; ++i)
            mediaModel.setProperty(i, "textX", Texts.text(list, Rules.firstMediaString + i, mediaModel.get(i).builtIn))
    }

    Component.onCompleted: {
        var i
        for (i = 0; i < Rules.functionTexts.length; ++i)
            functionModel.append({ textX: Rules.functionTexts[i] })
        for (i = 0; i < Rules.mouseItems.length; ++i)
            mouseModel.append({ textX: Rules.mouseItems[i].text })
        for (i = 0; i < Rules.mouseButtons; ++i)
            fireModel.append({ textX: Rules.mouseItems[i].text })
        for (i = 0; i < Rules.comboTexts.length; ++i)
            comboModel.append({ textX: Rules.comboTexts[i] })
        var names = mainIten.keyCodeString
        for (i = 0; names && i < names.mediaNames.length; ++i)
            mediaModel.append({ textX: String(names.mediaNames[i]), builtIn: String(names.mediaNames[i]) })
    }
}
