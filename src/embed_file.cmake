# Turns a file into a C++ source that returns its bytes.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DFUNCTION=zs::HelpDocumentData -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
string(REGEX MATCH "^(.*)::([^:]+)$" _ "${FUNCTION}")
set(namespace "${CMAKE_MATCH_1}")
set(name "${CMAKE_MATCH_2}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
#include <string_view>
namespace ${namespace} {
namespace {
const unsigned char kData[${size} + 1] = {
${bytes}0};
}  // namespace
std::string_view ${name}() {
    return {reinterpret_cast<const char*>(kData), ${size}};
}
}  // namespace ${namespace}
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
