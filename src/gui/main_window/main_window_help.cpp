// The help handler, shared by the main window, the settings dialog and the about box.
#include "gui/main_window/main_window.h"
#include "gui/qt_text.h"
#include "i18n/language_catalogue.h"
#include "jobs/messages.h"
#include "platform/program_folder.h"

#include <QDesktopServices>
#include <QUrl>

namespace tralvo {

void MainWindow::HelpBtnClick(QWidget* /*sender*/) {
    const std::string folder = DataFolder();
    std::string file = folder + "Help-" + GetLanguageCode() + ".html";
    if (!fs_.FileExists(file)) {
        file = folder + "Help-" + GetDefaultLanguageCode() + ".html";
    }
    if (fs_.FileExists(file)) {
        const QUrl url = QUrl::fromLocalFile(PathText(file));
        if (urlOpener_) {
            urlOpener_(url);
        } else {
            QDesktopServices::openUrl(url);
        }
        return;
    }
    messages_.Show(ErrorMessage("", "NoHelp"));
}

} // namespace tralvo
