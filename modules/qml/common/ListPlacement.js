.pragma library

// Where an open list goes. The page area clips what lies outside it, and a list drawn under
// another control of its page loses the clicks meant for it; so an open list lies in the top
// layer of its page and inside the page area.

// The list's place for a field at `field` ({x, y, width, height}) inside `bounds` (the same
// coordinates): `rows` rows of `rowHeight` plus `padding`, `gap` away from the field, starting
// at `listX` and `width` wide. Below when that fits, above when only that fits, else on the
// roomier side, shortened to the rows that fit (the list then scrolls).
// Returns {x, y, height, rows, up}; y is the edge nearest the field, the top for a list below
// and the bottom for a list above.
function place(field, listX, width, bounds, rows, rowHeight, padding, gap) {
    var wanted = rows * rowHeight + padding
    var below = bounds.y + bounds.height - (field.y + field.height + gap)
    var above = field.y - gap - bounds.y
    var up = wanted > below && (wanted <= above || above > below)
    var room = up ? above : below
    var shown = wanted <= room ? rows : Math.max(0, Math.min(rows, Math.floor((room - padding) / rowHeight)))
    var x = Math.max(bounds.x, Math.min(listX, bounds.x + bounds.width - width))
    return { x: x, y: up ? field.y - gap : field.y + field.height + gap,
             height: shown * rowHeight + padding, rows: shown, up: up }
}

// The layer an open list of `control` lies in and the area it must stay inside: the nearest
// ancestor that clips (the page area, the settings drawer) or else the window, and that
// ancestor's child (a Flickable's content's child) on the way up from the control: its page.
function layerOf(control) {
    var chain = []
    for (var p = control.parent; p; p = p.parent) {
        chain.push(p)
        if (p.clip)
            break
    }
    var bounds = chain.length > 0 ? chain[chain.length - 1] : control
    var content = bounds.contentItem ? bounds.contentItem : bounds
    var layer = content
    for (var i = 0; i < chain.length; ++i) {
        if (chain[i].parent === content) {
            layer = chain[i]
            break
        }
    }
    return { layer: layer, bounds: bounds }
}
