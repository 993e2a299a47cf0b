#include "cli/console_run.h"

#include "cli/cli_file_system.h"
#include "i18n/language_catalogue.h"

namespace tralvo::cli {

ConsoleRun::ConsoleRun() : run{ToolFileSystem(), observer, progress} {
    OpenLanguageCatalogue();
    UseEnglish(Catalogue());
}

ConsoleRun::~ConsoleRun() {
    CloseLanguageCatalogue();
}

} // namespace tralvo::cli
