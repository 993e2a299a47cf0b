#pragma once

#include "support/forwarding_file_system.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace tralvo::test {

// Lists a folder as the kernel's vfat driver (shortname=mixed) orders it: each entry takes
// one directory slot for an upper-case 8.3 name and one more per 13 characters of a long
// name, a new entry goes into the first run of free slots big enough, a rename adds the new
// entry before it frees the old one, and a listing gives the slots' order. The entries that a
// folder holds when the double first meets it take its first slots, in the order the real
// file system lists them. /tmp lists by hash, where a directory-order run could not be seen.
class DirectoryOrderFileSystem : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;

    // The number of slots of an entry of that name.
    static std::size_t SlotsOf(const std::string& name) {
        return IsUpperCaseShortName(name) ? 1 : 1 + (name.size() + 12) / 13;
    }

    // Leaves a hole in front: as if the folder's first entry had been deleted.
    void FreeSlotsInFront(const std::string& folder, std::size_t count) {
        std::vector<std::string>& slots = SlotsFor(Key(folder));
        slots.insert(slots.begin(), count, std::string());
    }

    Status Enumerate(const std::string& folder, EnumerateFilter filter, bool includeDotEntries,
                     std::vector<DirectoryEntry>& entries) override {
        Status status = ForwardingFileSystem::Enumerate(folder, filter, includeDotEntries, entries);
        const std::vector<std::string>& slots = SlotsFor(Key(folder));
        const auto slotOf = [&](const DirectoryEntry& entry) {
            return std::find(slots.begin(), slots.end(), entry.name) - slots.begin();
        };
        std::stable_sort(entries.begin(), entries.end(),
                         [&](const DirectoryEntry& a, const DirectoryEntry& b) {
                             return slotOf(a) < slotOf(b);
                         });
        return status;
    }
    Status Rename(const std::string& from, const std::string& to) override {
        const auto [fromFolder, fromName] = Split(from);
        const auto [toFolder, toName] = Split(to);
        SlotsFor(fromFolder);
        SlotsFor(toFolder);
        Status status = ForwardingFileSystem::Rename(from, to);
        if (status) {
            Add(toFolder, toName);
            Free(fromFolder, fromName);
            MoveTables(Key(from), Key(to));
        }
        return status;
    }
    Status CreateFolder(const std::string& path) override {
        const auto [folder, name] = Split(path);
        SlotsFor(folder);
        Status status = ForwardingFileSystem::CreateFolder(path);
        if (status) {
            Add(folder, name);
        }
        return status;
    }
    Status RemoveFolder(const std::string& path) override {
        const auto [folder, name] = Split(path);
        SlotsFor(folder);
        Status status = ForwardingFileSystem::RemoveFolder(path);
        if (status) {
            Free(folder, name);
            tables_.erase(Key(path));
        }
        return status;
    }

private:
    static bool IsUpperCaseShortName(const std::string& name) {
        const std::size_t dot = name.find('.');
        const std::size_t base = std::min(dot, name.size());
        if (base == 0 || base > 8 ||
            (dot != std::string::npos &&
             (name.size() - dot - 1 > 3 || name.find('.', dot + 1) != std::string::npos))) {
            return false;
        }
        return std::all_of(name.begin(), name.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
                   c == '-' || c == '~' || c == '!' || c == '#' || c == '$' || c == '%' ||
                   c == '&' || c == '(' || c == ')' || c == '@' || c == '^' || c == '{' || c == '}';
        });
    }
    static std::string Key(std::string path) {
        while (path.size() > 1 && path.back() == '/') {
            path.pop_back();
        }
        return path;
    }
    static std::pair<std::string, std::string> Split(const std::string& path) {
        const std::string key = Key(path);
        const std::size_t slash = key.rfind('/');
        return {slash == 0 ? "/" : key.substr(0, slash), key.substr(slash + 1)};
    }

    std::vector<std::string>& SlotsFor(const std::string& folder) {
        const auto found = tables_.find(folder);
        if (found != tables_.end()) {
            return found->second;
        }
        std::vector<std::string>& slots = tables_[folder];
        std::vector<DirectoryEntry> entries;
        ForwardingFileSystem::Enumerate(folder, EnumerateFilter::FilesAndFolders, false, entries);
        for (const DirectoryEntry& entry : entries) {
            slots.insert(slots.end(), SlotsOf(entry.name), entry.name);
        }
        return slots;
    }
    void Add(const std::string& folder, const std::string& name) {
        std::vector<std::string>& slots = SlotsFor(folder);
        const std::size_t needed = SlotsOf(name);
        std::size_t run = 0;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            run = slots[i].empty() ? run + 1 : 0;
            if (run == needed) {
                std::fill_n(slots.begin() + static_cast<std::ptrdiff_t>(i + 1 - needed), needed,
                            name);
                return;
            }
        }
        // The free slots at the end, and new ones after them.
        slots.resize(slots.size() - run);
        slots.insert(slots.end(), needed, name);
    }
    void Free(const std::string& folder, const std::string& name) {
        std::vector<std::string>& slots = SlotsFor(folder);
        std::replace(slots.begin(), slots.end(), name, std::string());
    }
    // A folder moved takes its slot tables along, its subfolders' too.
    void MoveTables(const std::string& from, const std::string& to) {
        std::map<std::string, std::vector<std::string>> moved;
        for (auto it = tables_.begin(); it != tables_.end();) {
            if (it->first == from || it->first.starts_with(from + "/")) {
                moved[to + it->first.substr(from.size())] = std::move(it->second);
                it = tables_.erase(it);
            } else {
                ++it;
            }
        }
        tables_.merge(moved);
    }

    std::map<std::string, std::vector<std::string>> tables_;
};

} // namespace tralvo::test
