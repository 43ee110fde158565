# Checks the committed icons: each PNG (the desktop's and the web page's) and each image of the Windows
# icon has the size it is named for, the icon's 256-pixel image is the desktop's, and, where rsvg-convert
# is given, the PNGs are what resources/icons/make-icons.sh renders from the master now.
#   -DICONS=<resources/icons> -DOUT=<scratch folder> [-DRSVG_CONVERT=...]
set(faults)

# A number stored least significant byte first, from a hexadecimal dump.
function(little_endian hex offset bytes out)
    set(value 0)
    math(EXPR last "${offset} + ${bytes} - 1")
    foreach(at RANGE ${last} ${offset} -1)
        math(EXPR start "${at} * 2")
        string(SUBSTRING "${hex}" ${start} 2 byte)
        math(EXPR value "${value} * 256 + 0x${byte}")
    endforeach()
    set(${out} ${value} PARENT_SCOPE)
endfunction()

# A PNG's width and height are big-endian in its IHDR chunk, 16 bytes in.
function(png_size file out)
    file(READ ${file} header HEX OFFSET 16 LIMIT 8)
    string(SUBSTRING "${header}" 0 8 width)
    string(SUBSTRING "${header}" 8 8 height)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    set(${out} "${width}x${height}" PARENT_SCOPE)
endfunction()

set(pngs hicolor/16x16.png:16x16 hicolor/32x32.png:32x32 hicolor/48x48.png:48x48 hicolor/128x128.png:128x128
         hicolor/256x256.png:256x256 vorn-build-calculator-16.png:16x16 vorn-build-calculator-32.png:32x32
         web/vorn-build-calculator-192.png:192x192 web/vorn-build-calculator-512.png:512x512
         web/vorn-build-calculator-maskable.png:512x512)
foreach(entry IN LISTS pngs)
    string(REPLACE ":" ";" entry "${entry}")
    list(GET entry 0 name)
    list(GET entry 1 expected)
    png_size(${ICONS}/${name} size)
    if(NOT size STREQUAL expected)
        list(APPEND faults "${name} is ${size}, not ${expected}")
    endif()
endforeach()

file(READ ${ICONS}/vorn-build-calculator.ico ico HEX)
little_endian("${ico}" 4 2 count)
set(sizes)
foreach(index RANGE 1 ${count})
    math(EXPR entry "6 + 16 * (${index} - 1)")
    little_endian("${ico}" ${entry} 1 width)
    if(width EQUAL 0)
        set(width 256)
    endif()
    list(APPEND sizes ${width})
    if(width EQUAL 256)
        math(EXPR length_at "${entry} + 8")
        math(EXPR offset_at "${entry} + 12")
        little_endian("${ico}" ${length_at} 4 length)
        little_endian("${ico}" ${offset_at} 4 offset)
        math(EXPR start "${offset} * 2")
        math(EXPR hex_length "${length} * 2")
        string(SUBSTRING "${ico}" ${start} ${hex_length} image)
        file(READ ${ICONS}/hicolor/256x256.png png HEX)
        if(NOT image STREQUAL png)
            list(APPEND faults "the Windows icon's 256-pixel image is not hicolor/256x256.png")
        endif()
    endif()
endforeach()
if(NOT sizes STREQUAL "16;32;48;256")
    list(APPEND faults "the Windows icon holds the sizes ${sizes}, not 16, 32, 48 and 256")
endif()

if(RSVG_CONVERT)
    file(REMOVE_RECURSE ${OUT})
    file(MAKE_DIRECTORY ${OUT})
    foreach(size 16 32 48 128 256)
        execute_process(COMMAND ${RSVG_CONVERT} --width ${size} --height ${size}
                                ${ICONS}/vorn-build-calculator.svg -o ${OUT}/${size}.png
                        RESULT_VARIABLE result)
        file(SHA256 ${OUT}/${size}.png rendered)
        file(SHA256 ${ICONS}/hicolor/${size}x${size}.png committed)
        if(NOT result EQUAL 0 OR NOT rendered STREQUAL committed)
            list(APPEND faults "hicolor/${size}x${size}.png is not the master as rsvg-convert renders it now")
        endif()
    endforeach()
    # The web page's: plain, and the maskable one with the shield in the middle of a white square.
    set(sizes_192 --width 192 --height 192)
    set(sizes_512 --width 512 --height 512)
    set(sizes_maskable --width 308 --height 308 --page-width 512 --page-height 512 --left 102 --top 102
                       --background-color "#ffffff")
    foreach(name 192 512 maskable)
        execute_process(COMMAND ${RSVG_CONVERT} ${sizes_${name}} ${ICONS}/vorn-build-calculator.svg
                                -o ${OUT}/web-${name}.png
                        RESULT_VARIABLE result)
        file(SHA256 ${OUT}/web-${name}.png rendered)
        file(SHA256 ${ICONS}/web/vorn-build-calculator-${name}.png committed)
        if(NOT result EQUAL 0 OR NOT rendered STREQUAL committed)
            list(APPEND faults "web/vorn-build-calculator-${name}.png is not the master as rsvg-convert renders it now")
        endif()
    endforeach()
else()
    message(STATUS "rsvg-convert not found: the desktop's icons are not compared with the master")
endif()

if(faults)
    list(JOIN faults "\n" faults)
    message(FATAL_ERROR "${faults}\nRun resources/icons/make-icons.sh.")
endif()
