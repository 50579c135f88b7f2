# Draws the program's icon (a green confirmation mark, as on the dialog's OK
# button) at 16, 32 and 48 pixels into one .ico file.
#   cmake -DCONVERT=<ImageMagick's convert> -DOUTPUT=<file.ico> -P Icon.cmake
set(sizes 16 32 48)
set(pictures "")
foreach(size ${sizes})
  math(EXPR last "${size} - 1")
  math(EXPR stroke "${size} / 8")
  math(EXPR x1 "${size} * 5 / 20")
  math(EXPR y1 "${size} * 11 / 20")
  math(EXPR x2 "${size} * 9 / 20")
  math(EXPR y2 "${size} * 15 / 20")
  math(EXPR x3 "${size} * 16 / 20")
  math(EXPR y3 "${size} * 6 / 20")
  set(picture ${OUTPUT}-${size}.png)
  execute_process(COMMAND ${CONVERT} -size ${size}x${size} xc:none
      -fill "#2f8f3a" -draw "roundrectangle 0,0 ${last},${last} ${stroke},${stroke}"
      -stroke white -strokewidth ${stroke} -fill none
      -draw "stroke-linecap round stroke-linejoin round polyline ${x1},${y1} ${x2},${y2} ${x3},${y3}"
      PNG32:${picture} COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND pictures ${picture})
endforeach()
execute_process(COMMAND ${CONVERT} ${pictures} ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${pictures})
