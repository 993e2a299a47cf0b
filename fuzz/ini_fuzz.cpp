// Reads every key an INI text holds, writes each back and checks that reading the written
// text gives the same values.
#include "platform/ini_file.h"
#include "platform/text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<std::string, std::string>> KeysOf(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::size_t close = line.find(']');
        if (line.starts_with('[')) {
            section = std::string(
                line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
        } else if (const std::size_t equals = line.find('='); equals != line.npos) {
            keys.emplace_back(section, std::string(line.substr(0, equals)));
        }
    }
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    tralvo::IniFile ini;
    ini.Parse(text);
    (void)tralvo::ParseInteger(text.substr(0, 40));

    tralvo::IniFile copy;
    copy.Parse(ini.Text());
    const auto keys = KeysOf(text);
    for (const auto& [section, key] : keys) {
        const std::string value = ini.ReadString(section, key, "");
        (void)ini.ReadInteger(section, key, 0);
        if (copy.ReadString(section, key, "") != value) {
            std::abort(); // the text Save writes must read as the text that was read
        }
        if (value.find_first_of("\r\n") == std::string::npos) {
            copy.WriteString(section, key, value);
        }
    }
    tralvo::IniFile reread;
    reread.Parse(copy.Text());
    for (const auto& [section, key] : keys) {
        if (reread.ReadString(section, key, "") != ini.ReadString(section, key, "")) {
            std::abort(); // writing a value that was read must not change what reads back
        }
    }
    return 0;
}
