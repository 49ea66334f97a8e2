cmake_minimum_required(VERSION 3.20)
# Writes the device the program binds, from its device table (device/DevInfo.ini) and the
# index of the entry it binds (boundEntryIndex in device/DevInfo.h), so the udev rule and the
# AppStream hardware list follow what the program itself reads.
#   cmake -DTABLE=DevInfo.ini -DBOUND_HEADER=DevInfo.h -DTEMPLATE=in -DOUTPUT=out
#         -DFORM=udev|modalias -P devicetable.cmake
# The template's @Q7_DEVICE_LINES@ becomes the bound entry's line. Why each part of the rule:
#   SUBSYSTEM=="hidraw"          the program speaks to the mouse through hidraw alone; its
#                                USB and input nodes stay as the system set them
#   ATTRS{idVendor}/{idProduct}  only the pair the program binds: other entries of the table
#                                are never opened, so no seat gets access to them
#   TAG+="uaccess"               the user at the seat, not every local user (no MODE="0666")
file(STRINGS ${BOUND_HEADER} bound_lines REGEX "constexpr int boundEntryIndex = [0-9]+")
if(NOT bound_lines MATCHES "boundEntryIndex = ([0-9]+)")
    message(FATAL_ERROR "${BOUND_HEADER}: no boundEntryIndex")
endif()
set(bound ${CMAKE_MATCH_1})
file(STRINGS ${TABLE} lines)
set(section "")
set(entries "")
foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line MATCHES "^\\[([0-9]+)\\]$")
        set(section ${CMAKE_MATCH_1})
        list(APPEND entries ${section})
    elseif(NOT section STREQUAL "" AND line MATCHES "^(vid|pid)=([0-9A-Fa-f]+)$")
        string(TOLOWER "${CMAKE_MATCH_2}" value)
        set(${CMAKE_MATCH_1}_${section} ${value})
    endif()
endforeach()

if(NOT bound IN_LIST entries)
    message(FATAL_ERROR "${TABLE}: no entry ${bound}, the one the program binds")
endif()
set(Q7_DEVICE_LINES "")
foreach(e IN ITEMS ${bound})
    if(NOT DEFINED vid_${e} OR NOT DEFINED pid_${e})
        message(FATAL_ERROR "${TABLE}: entry ${e} lacks vid or pid")
    endif()
    if(FORM STREQUAL "udev")
        string(APPEND Q7_DEVICE_LINES
            "SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"${vid_${e}}\", ATTRS{idProduct}==\"${pid_${e}}\", TAG+=\"uaccess\"\n")
    else()
        string(TOUPPER "${vid_${e}}" vid)
        string(TOUPPER "${pid_${e}}" pid)
        string(APPEND Q7_DEVICE_LINES "    <modalias>usb:v${vid}p${pid}d*</modalias>\n")
    endif()
endforeach()
string(REGEX REPLACE "\n$" "" Q7_DEVICE_LINES "${Q7_DEVICE_LINES}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
