#include "platform/volume_labels.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace tralvo {
namespace {

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return std::nullopt;
}

} // namespace

std::string DecodeUdevLabel(std::string_view name) {
    std::string decoded;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const std::optional<int> high = HexDigit(name[i + 2]);
            const std::optional<int> low = HexDigit(name[i + 3]);
            if (high && low) {
                decoded.push_back(static_cast<char>(*high * 16 + *low));
                i += 3;
                continue;
            }
        }
        decoded.push_back(name[i]);
    }
    return decoded;
}

VolumeLabels ReadVolumeLabels(const std::string& byLabelFolder) {
    VolumeLabels labels;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(byLabelFolder, error), end;
         !error && entry != end; entry.increment(error)) {
        std::error_code resolveError;
        const std::filesystem::path device =
            std::filesystem::canonical(entry->path(), resolveError);
        if (!resolveError) {
            labels.emplace(device.string(), DecodeUdevLabel(entry->path().filename().string()));
        }
    }
    return labels;
}

std::string VolumeLabel(const Volume& volume, const VolumeLabels& labels) {
    if (labels.empty() || !volume.source.starts_with('/')) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path device = std::filesystem::canonical(volume.source, error);
    const auto found = labels.find(error ? volume.source : device.string());
    return found == labels.end() ? std::string() : found->second;
}

} // namespace tralvo
