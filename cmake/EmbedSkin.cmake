# cmake -DIN=desc.dfm -DSKIN=builtin.skin -DOUT=gen.dfm -P EmbedSkin.cmake
# Writes the form description with "@BUILTIN_SKIN@" replaced by the packed skin as the
# "SkinPack" property holds it: the byte count (u32, little-endian) and the bytes, in hex.
file(READ "${SKIN}" bytes HEX)
string(LENGTH "${bytes}" digits)
math(EXPR size "${digits} / 2")
math(EXPR b0 "${size} & 255")
math(EXPR b1 "(${size} >> 8) & 255")
math(EXPR b2 "(${size} >> 16) & 255")
math(EXPR b3 "(${size} >> 24) & 255")
set(count "")
foreach(b ${b0} ${b1} ${b2} ${b3})
  math(EXPR hi "${b} / 16")
  math(EXPR lo "${b} % 16")
  string(SUBSTRING "0123456789abcdef" ${hi} 1 h)
  string(SUBSTRING "0123456789abcdef" ${lo} 1 l)
  string(APPEND count "${h}${l}")
endforeach()
# Lines of 128 digits keep the description readable.
string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1\n      " wrapped "${count}${bytes}")
file(READ "${IN}" text)
string(REPLACE "@BUILTIN_SKIN@" "${wrapped}" text "${text}")
file(WRITE "${OUT}" "${text}")
