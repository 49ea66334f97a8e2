import QtQuick
import "../common"

// What the settings drawer shows of the settings page. Made the first time the drawer opens:
// until then the page's values are all the window needs (every page reads its look from them).
Item {
    id: panel
    required property Page_Globalsetting page
    anchors.fill: parent

    // Made after the page read its colour: the inputs start from it, and the page reads and
    // sets them from now on.
    Component.onCompleted: {
        colourPanel.inputR.text = panel.page._R
        colourPanel.inputG.text = panel.page._G
        colourPanel.inputB.text = panel.page._B
        panel.page.colourInputs = colourPanel
    }

    Image {
        anchors.fill: parent
        source: mainIten.sourceGlobalsettingBackground
    }

    // A click on empty space takes the focus from the inputs, which applies them.
    MouseArea {
        anchors.fill: parent
        onClicked: panel.page.forceActiveFocus()
    }

    ShellText {
        x: 20
        y: 14
        font.bold: true
        text: panel.page.strings[1]
    }

    ShellText {
        x: 20
        y: 42
        font.bold: true
        text: panel.page.strings[29]
    }
    SettingsLanguageList {
        x: 20
        y: 62
        model: panel.page.languages
        currentIndex: panel.page.languageIndex
        accessibleName: panel.page.strings[29]
        onChosen: index => panel.page.setLanguage(index)
    }

    ShellText {
        x: 20
        y: 142
        font.bold: true
        text: panel.page.strings[33] + " " + panel.page.strings[34]
    }
    Row {
        x: 150
        y: 142
        spacing: 18
        RadioButton {
            objectName: "sizeNormal"
            chkStr: panel.page.strings[37]
            isSelect: panel.page.sizeIndex === 0
            onClicked: panel.page.setSize(0)
        }
        RadioButton {
            objectName: "sizeLarger"
            chkStr: panel.page.strings[38]
            isSelect: panel.page.sizeIndex === 1
            onClicked: panel.page.setSize(1)
        }
    }

    ShellText {
        x: 20
        y: 170
        font.bold: true
        text: panel.page.strings[26]
    }
    Row {
        x: 150
        y: 170
        spacing: 18
        RadioButton {
            objectName: "skin1"
            chkStr: panel.page.strings[39]
            isSelect: panel.page.skin_No === 1
            onClicked: panel.page.chooseSkin(1)
        }
        RadioButton {
            objectName: "skin2"
            chkStr: panel.page.strings[40]
            isSelect: panel.page.skin_No === 2
            onClicked: panel.page.chooseSkin(2)
        }
    }

    // Present but not offered in this product.
    Row {
        objectName: "animationSwitch"
        visible: false
        spacing: 18
        RadioButton {
            chkStr: panel.page.strings[31]
            isSelect: panel.page.animationIndex === 0
            onClicked: panel.page.setAnimation(0)
        }
        RadioButton {
            chkStr: panel.page.strings[32]
            isSelect: panel.page.animationIndex === 1
            onClicked: panel.page.setAnimation(1)
        }
    }
    RadioButton {
        objectName: "backgroundToggle"
        visible: false
        chkStr: panel.page.strings[30]
        isSelect: panel.page.isCustomBackground
        onClicked: panel.page.toggleBackground()
    }

    SettingsColour {
        id: colourPanel
        x: 20
        y: 198
        strings: panel.page.strings
        nameTexts: panel.page.nameTexts
        slotColors: panel.page.slotColors
        selectedSlot: panel.page.selectedSlot
        brightnessStep: panel.page.brightnessStep
        paletteLength: panel.page.paletteLength
        working: Qt.rgba(panel.page._R / 255, panel.page._G / 255, panel.page._B / 255, 1)
        onSlotChosen: slot => panel.page.selectSlot(slot)
        onPalettePicked: y => panel.page.pickPalette(y)
        onBrightnessChosen: step => panel.page.setBrightness(step)
        onInputsLeft: panel.page.applyInputs()
    }

    // Each caption is part of its button.
    Button_2state {
        id: btnReset
        objectName: "btnReset"
        x: 20
        y: 372
        source0: mainIten.sourceReset0
        source1: mainIten.sourceReset1
        caption: panel.page.strings[106]
        captionGap: 6
        onClicked: panel.page.resetApconfig()
    }
    Button_2state {
        id: btnApply
        objectName: "btnApply"
        x: btnReset.x + btnReset.width + btnReset.captionItem.width + 32
        y: 372
        source0: mainIten.sourceApply0
        source1: mainIten.sourceApply1
        caption: panel.page.strings[107]
        captionGap: 6
        onClicked: panel.page.apply(btnApply.keyboardFocus)
    }
}
