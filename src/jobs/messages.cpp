#include "jobs/messages.h"

#include "i18n/language_catalogue.h"
#include "platform/text.h"

namespace tralvo {

MessageRequest CatalogueMessage(std::string parent, std::string captionKey, std::string textKey,
                                MessageIcon icon, MessageButtons buttons,
                                std::string_view argument) {
    MessageRequest request;
    request.parent = std::move(parent);
    request.caption = GetLangString(captionKey);
    request.text = GetLangString(textKey);
    if (!argument.empty()) {
        // One argument, put in place as it is: a file name on this system may hold the "|"
        // and line breaks that FormatLangString would take for separators.
        request.text = ReplaceAll(request.text, "%0", argument);
    }
    request.argument = std::string(argument);
    request.captionKey = std::move(captionKey);
    request.textKey = std::move(textKey);
    request.icon = icon;
    request.buttons = buttons;
    return request;
}

std::string TextWithReason(const MessageRequest& request) {
    return request.reason.empty() ? request.text : request.text + "\n" + request.reason;
}

MessageRequest ErrorMessage(std::string parent, std::string textKey, std::string_view argument) {
    return CatalogueMessage(std::move(parent), "Error", std::move(textKey), MessageIcon::Error,
                            MessageButtons::Ok, argument);
}

MessageRequest QuestionMessage(std::string parent, std::string windowCaption, std::string textKey) {
    MessageRequest request;
    request.parent = std::move(parent);
    request.caption = std::move(windowCaption);
    request.text = GetLangString(textKey);
    request.textKey = std::move(textKey);
    request.icon = MessageIcon::Question;
    request.buttons = MessageButtons::YesNo;
    return request;
}

} // namespace tralvo
