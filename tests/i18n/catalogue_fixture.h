#pragma once

#include "i18n/language_catalogue.h"
#include "support/temp_folder.h"

#include <string_view>

namespace tralvo::test {

// A catalogue opened from text written to a temporary folder.
class CatalogueFile {
public:
    explicit CatalogueFile(std::string_view text) {
        catalogue.Open(folder.WriteFile("Tralvo.lng", text));
    }

    TempFolder folder;
    LanguageCatalogue catalogue;
};

} // namespace tralvo::test
