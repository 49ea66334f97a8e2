import QtQuick
import QtTest
import "qrc:/modules/qml/Q7/BlockLayout.js" as Layout
// The way a page library beside the pages in the source tree reaches it.
import "../../../modules/qml/Q7/BlockLayout.js" as FromSource

// The generated block layout as the pages import it.
TestCase {
    name: "BlockLayout"

    function test_bothWaysInGiveTheSameTable() {
        compare(FromSource.blockSize, Layout.blockSize)
        compare(FromSource.profileFw.indicatorRgb, Layout.profileFw.indicatorRgb)
        compare(FromSource.keyMatrix.entrySize, Layout.keyMatrix.entrySize)
        compare(FromSource.dpiStored159, Layout.dpiStored159)
    }

    // Every importer shares the one library instance: a page must not be able to move an
    // offset under the others.
    function test_tablesCannotBeChanged() {
        var dpi = Layout.profileFw.dpi
        try {
            Layout.profileFw.dpi = 0
        } catch (e) {
            // strict-mode code throws; either way the value must stand
        }
        compare(Layout.profileFw.dpi, dpi)
        compare(FromSource.profileFw.dpi, dpi)
    }
}
