#include "cli/cli_console_messages.h"

#include "cli/cli_output.h"
#include "platform/stop_signals.h"
#include "platform/text.h"

#include <cstdio>

namespace tralvo::cli {

namespace {

std::string_view IconLabel(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return "Error";
    case MessageIcon::Warning:
        return "Warning";
    case MessageIcon::Question:
        return "Question";
    case MessageIcon::Information:
        break;
    }
    return "Information";
}

// CR LF, CR and LF each become one blank.
std::string LineBreaksToBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        out += text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
    }
    return out;
}

} // namespace

MessageAnswer ConsoleMessages::Show(const MessageRequest& request) {
    ++shown_;
    std::string text;
    if (request.argument.empty() || request.textKey.empty()) {
        text = LineBreaksToBlanks(request.text);
    } else {
        text = ReplaceAll(LineBreaksToBlanks(GetLangString(request.textKey)), "%0",
                          EscapeField(request.argument));
    }
    if (!request.reason.empty()) {
        text += " " + EscapeField(request.reason);
    }
    const std::string line = std::string(IconLabel(request.icon)) + ": " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    switch (request.buttons) {
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::OkCancel:
        return MessageAnswer::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return MessageAnswer::Ok;
}

void UseEnglish(LanguageCatalogue& catalogue) {
    const std::int32_t count = catalogue.LanguageCount();
    for (std::int32_t language = 0; language < count; ++language) {
        catalogue.SetCurrentLanguage(language);
        if (catalogue.LanguageCode() == "EN") {
            return;
        }
    }
    catalogue.SetCurrentLanguage(catalogue.DefaultLanguage());
}

bool SayWhenInterrupted(const ConsoleMessages& messages) {
    if (!RunStopRequested()) {
        return false;
    }
    if (messages.shown() == 0) {
        std::fputs("tralvo-cli: interrupted, but the run had made all its changes already\n",
                   stderr);
    }
    return true;
}

} // namespace tralvo::cli
