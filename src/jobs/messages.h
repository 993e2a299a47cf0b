#pragma once

#include <string>
#include <string_view>

namespace tralvo {

enum class MessageIcon { Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// One message box as the program asks for it. The keys say where caption and text came from
// (empty for the fixed texts that must show without a catalogue); caption and text are what
// the box shows, in the catalogue's UTF-8.
struct MessageRequest {
    std::string parent; // object name of the window that owns the box; empty for none
    std::string captionKey;
    std::string textKey;
    std::string caption;
    std::string text;
    std::string argument; // what took the place of "%0", for those who check what was said
    // The system's own words for what failed, in its language, on a line below the text;
    // empty where the catalogue's text gives a reason or advice of its own.
    std::string reason;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
};

// Every box the program shows goes through here: the windows show it with QMessageBox, tests
// answer it from a script and keep what was asked.
class Messages {
public:
    virtual ~Messages() = default;
    virtual MessageAnswer Show(const MessageRequest& request) = 0;
};

// A box whose caption and text come from the catalogue's string keys; argument, when given,
// takes the place of "%0" in the text.
MessageRequest CatalogueMessage(std::string parent, std::string captionKey, std::string textKey,
                                MessageIcon icon, MessageButtons buttons,
                                std::string_view argument = {});

// The text with the reason, if any, on a line of its own below it.
std::string TextWithReason(const MessageRequest& request);

// The error box of the program: caption "Error", the text of key with argument in place of
// "%0", error icon, OK.
MessageRequest ErrorMessage(std::string parent, std::string textKey,
                            std::string_view argument = {});

// A question before discarding an arranged order: Yes and No, the question icon and the
// window's caption as caption.
MessageRequest QuestionMessage(std::string parent, std::string windowCaption, std::string textKey);

} // namespace tralvo
