#pragma once

#include <string>

namespace tralvo::test {

// What a Mac writes as "._Name" beside a file it copies to a FAT stick: the AppleDouble
// header (magic 00 05 16 07, version 2, "Mac OS X" filler, one entry) and its Finder info.
inline std::string AppleDoubleContent() {
    std::string content("\x00\x05\x16\x07\x00\x02\x00\x00", 8);
    content += "Mac OS X        ";
    content += std::string("\x00\x01\x00\x00\x00\x09\x00\x00\x00\x32\x00\x00\x00\x20", 14);
    content += std::string(32, '\0');
    return content;
}

} // namespace tralvo::test
