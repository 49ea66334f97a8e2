import QtQuick
import "ListPlacement.js" as Placement

// The open part of a list control. While open it lies above everything else of its page, in
// the page's own top layer, and inside the page area: below its control, above it when only
// that fits, else shortened (its content scrolls). Opening and closing grow and shrink it
// from the control's edge.
Item {
    id: popup
    // The control it opens from.
    property Item owner: null
    property bool open: false
    property int rows: 0
    property int rowHeight: 24
    property int padding: 4
    property int gap: 2
    // Where it starts, in the owner's coordinates.
    property real listX: 0
    property int listWidth: owner ? owner.width : 0
    property bool animated: true
    // Set on opening.
    property bool up: false
    property int shownRows: 0
    property int openHeight: 0
    property real edge: 0

    visible: open && owner !== null && owner.visible && height > 0
    z: 1000
    width: listWidth
    height: open ? openHeight : 0
    y: up ? edge - height : edge

    Behavior on height {
        enabled: popup.animated
        NumberAnimation {
            duration: 0.3 * Theme.animationSpeed
            easing.type: Easing.OutCubic
        }
    }

    // Moves into the layer and takes its place there for the owner as it stands now.
    function place() {
        if (!owner)
            return
        var found = Placement.layerOf(owner)
        if (parent !== found.layer)
            parent = found.layer
        var field = owner.mapToItem(parent, 0, 0, owner.width, owner.height)
        var start = owner.mapToItem(parent, listX, 0)
        var area = found.bounds.mapToItem(parent, 0, 0, found.bounds.width, found.bounds.height)
        var p = Placement.place(field, start.x, listWidth, area, rows, rowHeight, padding, gap)
        x = p.x
        up = p.up
        edge = p.y
        shownRows = p.rows
        openHeight = p.height
    }
    onOpenChanged: if (open) place()
    onRowsChanged: if (open) place()
}
