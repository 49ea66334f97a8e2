# Writes a file that lists every entry of the device table (device/DevInfo.ini), so the
# udev rule and the AppStream hardware list follow the table the program itself reads.
#   cmake -DTABLE=DevInfo.ini -DTEMPLATE=in -DOUTPUT=out -DFORM=udev|modalias -P devicetable.cmake
# The template's @Q7_DEVICE_LINES@ becomes one line per entry.
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

set(Q7_DEVICE_LINES "")
foreach(e IN LISTS entries)
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
