pragma Singleton
import QtQuick

// The look every shared control reads: the skin in use with its accent and image paths (from
// the generated base, one list for the painter and the interface), and the text's colour,
// size and font and the animations' pace. The settings page owns the user's choices; the shell
// writes them here. Until it does, and for a control shown without the shell, these are the
// page's own defaults.
SkinImages {
    property color textColor: "#ff00ffff"
    property int textSize: 11
    property string fontFamily: "Arial"
    property int animationSpeed: 800
}
