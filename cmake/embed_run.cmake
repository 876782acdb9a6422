# Script half of embed_file(): reads INPUT, writes OUTPUT defining SYMBOL.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Break the list into lines of 24 bytes so that the source stays readable.
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT} at build time. Do not edit.\n"
  "extern const unsigned char ${SYMBOL}[${size}];\n"
  "extern const unsigned long ${SYMBOL}Size;\n"
  "const unsigned char ${SYMBOL}[${size}] = {\n${bytes}\n};\n"
  "const unsigned long ${SYMBOL}Size = ${size};\n")
