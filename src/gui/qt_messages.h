#pragma once

#include "jobs/messages.h"

namespace tralvo {

// Message boxes drawn by QMessageBox, owned by the top-level window whose object name the
// request gives. After a termination request every box ends at once as cancelled.
class QtMessages : public Messages {
public:
    MessageAnswer Show(const MessageRequest& request) override;
};

} // namespace tralvo
