#include "gui/widgets/dialog_links.h"

#include "i18n/web_links.h"

#include <QByteArray>
#include <QDesktopServices>

namespace tralvo {

namespace {

template <typename Action>
void RunUnreported(Action&& action) {
    try {
        action();
    } catch (...) {
    }
}

} // namespace

UrlOpener SystemUrlOpener() {
    return [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

void OpenWebLink(const UrlOpener& open, const std::string& linkId) {
    const std::string link = MakerWebLink(linkId);
    RunUnreported([&] {
        if (open) {
            open(QUrl::fromEncoded(QByteArray::fromStdString(link)));
        }
    });
}

void RunHelp(const HelpHandler& help, QWidget* sender) {
    RunUnreported([&] {
        if (help) {
            help(sender);
        }
    });
}

} // namespace tralvo
