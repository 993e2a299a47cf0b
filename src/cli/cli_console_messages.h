#pragma once

#include "i18n/language_catalogue.h"
#include "jobs/messages.h"

namespace tralvo::cli {

// Shows each box as one line on standard error, "Error: " and the box's text with its line
// breaks turned into blanks and its argument (a name or path from the disk) escaped as the
// tool's fields are, so that no file name can break or fake a line. Nobody is there to answer,
// so a question gets No and OK/Cancel gets Cancel.
class ConsoleMessages : public Messages {
public:
    MessageAnswer Show(const MessageRequest& request) override;
    int shown() const { return shown_; }

private:
    int shown_ = 0;
};

// After a run: when a signal asked it to stop, says so unless one of messages' lines said what
// became of the folder already, and gives true: the tool then ends with failure.
bool SayWhenInterrupted(const ConsoleMessages& messages);

// Makes the catalogue's English current: the language whose code is "EN", else its default.
void UseEnglish(LanguageCatalogue& catalogue);

} // namespace tralvo::cli
