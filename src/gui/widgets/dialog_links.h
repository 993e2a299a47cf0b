#pragma once

#include <QUrl>
#include <functional>
#include <string>

class QWidget;

namespace tralvo {

// The main window's help handler, run with the dialog whose button asked for help as sender.
using HelpHandler = std::function<void(QWidget* sender)>;
using UrlOpener = std::function<void(const QUrl&)>;

// Opens a link in the user's browser.
UrlOpener SystemUrlOpener();

// The maker's web page of linkId, opened by open. Help and the web link report their own
// failures, or none (a browser that does not start): nothing they throw leaves these two, so
// that a dialog's button handler stays safe.
void OpenWebLink(const UrlOpener& open, const std::string& linkId);
void RunHelp(const HelpHandler& help, QWidget* sender);

} // namespace tralvo
