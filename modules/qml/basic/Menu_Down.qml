import QtQuick
import "../common"

// The bottom bar: reset and apply for every page at once.
Item {
    id: menuDown
    signal btnTotalResetClicked
    signal btnTotalApplyClicked

    width: container.width + 18
    height: container.height + 18

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
        onClicked: {
            mainIten.setProtectUI(800)
            menuDown.btnTotalResetClicked()
        }
    }

    Button_2state {
        id: btnApply
        objectName: "btnTotalApply"
        x: 350 + btnReset.width + btnReset.captionItem.width + 35
        y: 13
        source0: mainIten.sourceApply0
        source1: mainIten.sourceApply1
        caption: mainIten.globalSetting_stringList[114]
        onClicked: {
            mainIten.setProtectUI(2000)
            mainIten.sendToMouse(() => menuDown.btnTotalApplyClicked())
        }
    }
}
