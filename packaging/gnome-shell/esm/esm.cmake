# Writes the ES module form of the extension that GNOME 45 and later load, into OUT: the body
# of the older form's extension.js (between its markers) inside head.js and tail.js, the
# metadata naming the newer shells, and the same interface file. One body, two wrappers.
set(begin_marker "// --- body ---\n")
set(end_marker "// --- end of body ---\n")
file(READ ${SRC}/extension.js js)
string(FIND "${js}" "${begin_marker}" begin)
string(FIND "${js}" "${end_marker}" end)
if(begin EQUAL -1 OR end LESS begin)
    message(FATAL_ERROR "${SRC}/extension.js lacks its body markers")
endif()
string(LENGTH "${begin_marker}" skip)
math(EXPR begin "${begin} + ${skip}")
math(EXPR length "${end} - ${begin}")
string(SUBSTRING "${js}" ${begin} ${length} body)
file(READ ${CMAKE_CURRENT_LIST_DIR}/head.js head)
file(READ ${CMAKE_CURRENT_LIST_DIR}/tail.js tail)
file(WRITE ${OUT}/extension.js "${head}${body}${tail}")

file(READ ${SRC}/metadata.json metadata)
set(old_versions "\"shell-version\": [\"43\", \"44\"]")
string(FIND "${metadata}" "${old_versions}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "${SRC}/metadata.json no longer reads ${old_versions}")
endif()
string(REPLACE "${old_versions}" "\"shell-version\": [\"45\", \"46\", \"47\", \"48\"]"
    metadata "${metadata}")
file(WRITE ${OUT}/metadata.json "${metadata}")
configure_file(${SRC}/org.q7config.ActiveWindow.xml ${OUT}/org.q7config.ActiveWindow.xml COPYONLY)
