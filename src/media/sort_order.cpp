#include "media/sort_order.h"

#include "media/natural_order.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <numeric>

namespace tralvo::media {

namespace {

// One key of one file as the comparisons see it: text folded to lower case once, or a number.
// Keys outside 0..8 compare neither less nor equal.
struct Field {
    enum class Kind : std::uint8_t { Text, NaturalText, Number, None };
    Kind kind = Kind::None;
    std::string text;
    double number = 0.0;
};

struct Record {
    std::array<Field, 3> fields;
    bool hasTag = false;
    std::string path; // folded, for the untagged rule
};

Field FieldOf(SoundFile& file, SortKey key, bool natural) {
    Field field;
    const std::string* text = nullptr;
    switch (key) {
    case SortKey::FileName:
        text = &file.FileName();
        break;
    case SortKey::Title:
        text = &file.Title();
        break;
    case SortKey::Artist:
        text = &file.Artist();
        break;
    case SortKey::Album:
        text = &file.Album();
        break;
    case SortKey::Year:
        text = &file.Year();
        break;
    case SortKey::Comment:
        text = &file.Comment();
        break;
    case SortKey::TrackNumber:
        field.kind = Field::Kind::Number;
        field.number = file.TrackNumber();
        return field;
    case SortKey::CreationTime:
        field.kind = Field::Kind::Number;
        field.number = file.GetCreationTime();
        return field;
    case SortKey::ShortFileName:
        text = &file.ShortFileName();
        break;
    default:
        return field;
    }
    // A year is a date rather than a name with a number in it: it keeps the plain order.
    field.kind = natural && key != SortKey::Year ? Field::Kind::NaturalText : Field::Kind::Text;
    field.text = ToLowerAscii(*text);
    return field;
}

// The path is compared only under the untagged rule, between two untagged tracks.
Record RecordOf(SoundFile& file, SortKeys keys, bool withPath) {
    Record record;
    record.fields = {FieldOf(file, keys.key1, keys.natural), FieldOf(file, keys.key2, keys.natural),
                     FieldOf(file, keys.key3, keys.natural)};
    record.hasTag = file.HasTag();
    if (withPath) {
        record.path = ToLowerAscii(file.FileName());
    }
    return record;
}

// Below zero when a comes first, zero when they are equal, above zero otherwise: a after
// b, or a key outside 0..8, which compares neither less nor equal.
int Order(const Field& a, const Field& b) {
    switch (a.kind) {
    case Field::Kind::Text:
        return a.text.compare(b.text); // compares the bytes unsigned
    case Field::Kind::NaturalText:
        return CompareNatural(a.text, b.text);
    case Field::Kind::Number:
        return a.number < b.number ? -1 : (a.number == b.number ? 0 : 1);
    case Field::Kind::None:
        break;
    }
    return 1;
}

// The first key that does not find the two equal decides.
bool KeysBefore(const Record& a, const Record& b) {
    for (std::size_t key = 0; key < a.fields.size(); ++key) {
        if (const int order = Order(a.fields[key], b.fields[key]); order != 0) {
            return order < 0;
        }
    }
    return false;
}

bool PathBefore(const Record& a, const Record& b, bool natural) {
    return natural ? CompareNatural(a.path, b.path) < 0 : a.path < b.path;
}

bool RecordBefore(const Record& candidate, const Record& best, bool reverse, bool untaggedRule,
                  bool natural) {
    const Record& a = reverse ? best : candidate;
    const Record& b = reverse ? candidate : best;
    if (KeysBefore(a, b)) {
        return true;
    }
    if (untaggedRule) {
        if (!a.hasTag && b.hasTag) {
            return true;
        }
        if (!a.hasTag && !b.hasTag && PathBefore(a, b, natural)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool CompareTracks(SoundFile& candidate, SoundFile& best, SortKeys keys, bool reverse,
                   bool untaggedRule) {
    return RecordBefore(RecordOf(candidate, keys, untaggedRule), RecordOf(best, keys, untaggedRule),
                        reverse, untaggedRule, keys.natural);
}

std::vector<std::size_t> SortedOrder(std::span<SoundFile* const> files, SortKeys keys, bool reverse,
                                     bool untaggedRule) {
    std::vector<Record> records;
    records.reserve(files.size());
    bool allTagged = true;
    for (SoundFile* file : files) {
        records.push_back(RecordOf(*file, keys, false));
        allTagged = allTagged && records.back().hasTag;
    }
    if (untaggedRule && !allTagged) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            records[i].path = ToLowerAscii(files[i]->FileName());
        }
    }
    std::vector<std::size_t> order(files.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto before = [&](std::size_t a, std::size_t b) {
        return RecordBefore(records[a], records[b], reverse, untaggedRule, keys.natural);
    };
    if (!untaggedRule || allTagged) {
        // An order now: the stable sort puts each entry where the selection sort would.
        std::stable_sort(order.begin(), order.end(), before);
        return order;
    }
    // The best remaining entry is moved to the front, the ones it passes keep their order.
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        std::size_t best = i;
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            if (before(order[j], order[best])) {
                best = j;
            }
        }
        if (best != i) {
            const auto first = order.begin() + static_cast<std::ptrdiff_t>(i);
            const auto chosen = order.begin() + static_cast<std::ptrdiff_t>(best);
            std::rotate(first, chosen, chosen + 1);
        }
    }
    return order;
}

std::vector<std::size_t> ShuffleMoves(std::size_t count, std::uint32_t seed) {
    std::vector<std::size_t> moves;
    moves.reserve(count);
    std::uint32_t state = seed;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 134775813u + 1u;
        moves.push_back(static_cast<std::size_t>((std::uint64_t{state} * count) >> 32));
    }
    return moves;
}

std::uint32_t SeedFromTimeOfDay() {
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto millisecondOfDay = duration_cast<milliseconds>(now).count() % (24LL * 3600 * 1000);
    return static_cast<std::uint32_t>(millisecondOfDay);
}

} // namespace tralvo::media
