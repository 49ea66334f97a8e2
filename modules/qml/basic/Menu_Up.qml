import QtQuick
import "../common"

// The top bar: global settings on the left, close on the right.
Item {
    id: menuUp
    property bool isGlobalSettingSelect: false
    signal btnClicked(int btnIndex)
    readonly property Button_2state settingsButton: btnSetting

    width: container.width + 16
    height: container.height + 16

    Image {
        id: container
        anchors.centerIn: parent
        source: mainIten.sourceListUpContainer
    }

    Button_2state {
        id: btnSetting
        objectName: "btnSetting"
        x: container.x + 5
        y: -3 + (menuUp.height - height) / 2
        // Lit while its drawer is open, as while it is pointed at.
        source0: menuUp.isGlobalSettingSelect ? mainIten.sourceAS1 : mainIten.sourceAS0
        source1: mainIten.sourceAS1
        accessibleName: mainIten.keyTexts.settings
        hoverText: mainIten.keyTexts.settingsTip
        onClicked: menuUp.btnClicked(0)
    }

    Button_2state {
        id: btnClose
        objectName: "btnClose"
        x: container.x + container.width - width - 5
        y: -3 + (menuUp.height - height) / 2
        source0: mainIten.sourceAM0
        source1: mainIten.sourceAM1
        accessibleName: mainIten.keyTexts.close
        hoverText: mainIten.keyTexts.closeTip
        onClicked: menuUp.btnClicked(1)
    }
}
