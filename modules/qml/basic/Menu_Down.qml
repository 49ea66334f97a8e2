import QtQuick
import "../common"
import "ShellKeys.js" as ShellKeys

// The bottom bar: reset and apply for every page at once.
Item {
    id: menuDown
    signal btnTotalResetClicked
    signal btnTotalApplyClicked
    // Ctrl+S waits while something else takes every key.
    property bool shortcutsFree: true

    width: container.width + 18
    height: container.height + 18

    function resetAll() {
        mainIten.setProtectUI(800)
        btnTotalResetClicked()
    }
    function applyAll() {
        mainIten.setProtectUI(2000)
        mainIten.sendToMouse(() => btnTotalApplyClicked())
    }

    Shortcut {
        sequences: [ShellKeys.saveKey]
        enabled: menuDown.shortcutsFree && menuDown.enabled && menuDown.visible
        onActivated: menuDown.applyAll()
    }

    // The icons are bound to the skin paths, so a skin change has already reached them;
    // this stays the entry point the root calls.
    function setSkin() {
    }

    Image {
        id: container
        anchors.centerIn: parent
        source: mainIten.sourceListDnContainer
    }

    // Each caption is part of its button.
    Button_2state {
        id: btnReset
        objectName: "btnTotalReset"
        x: 350
        y: 13
        source0: mainIten.sourceReset0
        source1: mainIten.sourceReset1
        caption: mainIten.globalSetting_stringList[113]
        hoverText: mainIten.keyTexts.resetTip
        onClicked: menuDown.resetAll()
    }

    Button_2state {
        id: btnApply
        objectName: "btnTotalApply"
        x: 350 + btnReset.width + btnReset.captionItem.width + 35
        y: 13
        source0: mainIten.sourceApply0
        source1: mainIten.sourceApply1
        caption: mainIten.globalSetting_stringList[114]
        hoverText: ShellKeys.format(mainIten.keyTexts.saveTip, [ShellKeys.saveKey])
        onClicked: menuDown.applyAll()
    }
}
