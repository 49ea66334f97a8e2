import QtQuick

// A page, or the rules list, made on demand. Not a Loader: a Loader is a focus scope, and a
// control that keeps its focus inside one after Tab left it reads that as "the window lost
// the keyboard" and no longer shows where the keyboard is when Tab comes back.
Item {
    id: holder
    property url source
    // Made once set, in the background while asynchronous; clearing asynchronous finishes a
    // background making at once.
    property bool active: false
    property bool asynchronous: true
    property Item item: null
    signal loaded

    property var incubator: null

    width: item ? item.width : 0
    height: item ? item.height : 0

    // Made a slice at a time between frames, a page is part-made for a while: it stays hidden
    // until it is whole, so neither the screen nor a screen reader meets it half made.
    Item {
        id: content
        visible: holder.item !== null
    }

    onActiveChanged: make()
    onAsynchronousChanged: if (!asynchronous && incubator) incubator.forceCompletion()

    function make() {
        if (!active || item)
            return
        if (incubator) {
            if (!asynchronous)
                incubator.forceCompletion()
            return
        }
        var component = Qt.createComponent(source)
        if (component.status !== Component.Ready) {
            console.warn(component.errorString())
            return
        }
        incubator = component.incubateObject(content, {}, asynchronous ? Qt.Asynchronous : Qt.Synchronous)
        if (incubator.status === Component.Ready)
            done()
        else
            incubator.onStatusChanged = status => { if (status === Component.Ready) holder.done() }
    }

    function done() {
        item = incubator.object as Item
        incubator = null
        loaded()
    }
}
