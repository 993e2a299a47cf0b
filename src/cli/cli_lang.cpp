#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "i18n/catalogue_keys.h"
#include "i18n/lang_text.h"
#include "i18n/language_catalogue.h"
#include "platform/ini_file.h"
#include "platform/text.h"

#include <cstdio>
#include <optional>

namespace tralvo::cli {

namespace {

// Lists, for every language, each key the program looks up that the catalogue lacks.
int CheckCatalogue(const LanguageCatalogue& catalogue) {
    if (!catalogue.FileFound()) {
        std::fprintf(stderr, "tralvo-cli: no catalogue at %s\n", catalogue.path().c_str());
        return ExitFailure;
    }
    const std::int32_t count = catalogue.LanguageCount();
    if (count <= 0) {
        std::fprintf(stderr, "tralvo-cli: the catalogue %s has no languages\n",
                     catalogue.path().c_str());
        return ExitFailure;
    }
    const std::vector<std::string> propertyKeys = ProgramPropertyKeys();
    bool missing = false;
    const auto report = [&missing](std::int32_t language, std::string_view key) {
        missing = true;
        std::fputs((LanguageSection(language) + "\t" + EscapeField(key) + "\n").c_str(), stdout);
    };
    for (std::int32_t language = 0; language < count; ++language) {
        for (const std::string_view key : ProgramStringKeys()) {
            if (!catalogue.HasString(language, key)) {
                report(language, key);
            }
        }
        for (const std::string& key : propertyKeys) {
            if (!catalogue.HasProperty(language, key)) {
                report(language, key);
            }
        }
    }
    return missing ? ExitFailure : ExitOk;
}

int RunLookup(const std::string& command, Arguments rest, LanguageCatalogue& catalogue) {
    if (command == "string") {
        for (const std::string& key : rest) {
            PrintField(catalogue.String(key));
        }
        return ExitOk;
    }
    if (command == "property") {
        const bool report = !rest.empty() && rest.front() == "--report";
        for (const std::string& key : rest.subspan(report ? 1 : 0)) {
            PrintField(catalogue.Property(key, report));
        }
        return ExitOk;
    }
    if (command == "format") {
        if (rest.empty() || rest.size() > 2) {
            return UsageError("format takes a template and at most one argument list");
        }
        PrintField(FormatLangString(rest[0], rest.size() == 2 ? rest[1] : std::string()));
        return ExitOk;
    }
    if (command == "names" || command == "code" || command == "check") {
        if (!rest.empty()) {
            return UsageError(command + " takes no arguments");
        }
        if (command == "code") {
            PrintField(catalogue.LanguageCode());
            return ExitOk;
        }
        if (command == "check") {
            return CheckCatalogue(catalogue);
        }
        for (const std::string& name : catalogue.LanguageNames()) {
            PrintField(name);
        }
        return ExitOk;
    }
    return UsageError("unknown lang command: " + command);
}

} // namespace

int RunLangCommand(Arguments args) {
    std::size_t index = 0;
    std::optional<std::int32_t> language;
    while (index < args.size() && args[index].starts_with("--")) {
        bool taken = false;
        if (!TakeDirOption(args, index, taken)) {
            return UsageError("--dir needs a folder");
        }
        if (taken) {
            continue;
        }
        if (args[index] != "--language" || index + 1 >= args.size()) {
            return UsageError("unknown option: " + args[index]);
        }
        language = ParseInteger(args[index + 1]);
        if (!language || args[index + 1].find_first_not_of("+-0123456789") != std::string::npos) {
            return UsageError("--language needs a decimal number");
        }
        index += 2;
    }
    if (index >= args.size()) {
        return UsageError("lang needs a command");
    }
    OpenLanguageCatalogue();
    LanguageCatalogue& catalogue = Catalogue();
    if (language) {
        catalogue.SetCurrentLanguage(*language);
    }
    const int result = RunLookup(args[index], args.subspan(index + 1), catalogue);
    CloseLanguageCatalogue();
    return result;
}

} // namespace tralvo::cli
