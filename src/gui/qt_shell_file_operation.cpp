#include "gui/qt_shell_file_operation.h"

#include "gui/qt_text.h"
#include "gui/termination.h"
#include "i18n/language_catalogue.h"
#include "jobs/messages.h"
#include "platform/file_copy.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QWidget>
#include <algorithm>

namespace tralvo {
namespace {

constexpr int ProgressSteps = 1000;

// A catalogue text with a path in place of "%0".
QString TextAbout(std::string_view key, const std::string& path) {
    QString text = CatalogueText(GetLangString(key));
    text.replace(QStringLiteral("%0"), PathText(path));
    return text;
}

// The progress of a whole copy. It shows only once the copy has run for longer than the
// delay since it began or since the last question, and from then on lets the window
// system's events through after every chunk, so that its Cancel button answers.
class CopyProgressWindow {
public:
    CopyProgressWindow(QWidget* owner, const QString& caption, std::uint64_t totalBytes, int delay)
        : dialog_(owner), bar_(new QProgressBar), total_(std::max<std::uint64_t>(totalBytes, 1)),
          delay_(delay) {
        dialog_.setObjectName(QStringLiteral("CopyProgress"));
        dialog_.setWindowTitle(caption);
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setBar(bar_); // the dialog owns it
        // QProgressDialog would show itself by a timer of its own; this one decides.
        dialog_.reset();
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        bar_->setRange(0, ProgressSteps);
        clock_.start();
    }

    void StartFile(const std::string& target) {
        dialog_.setLabelText(TextAbout("CopyingFile", std::string(BaseName(target))));
    }
    // A question was asked: the moment before progress shows starts again.
    void AfterQuestion() { clock_.restart(); }

    // Answers false once the user has cancelled.
    bool Step(std::uint64_t bytesDone) {
        const double fraction =
            static_cast<double>(std::min(bytesDone, total_)) / static_cast<double>(total_);
        bar_->setValue(static_cast<int>(fraction * ProgressSteps));
        if (!dialog_.isVisible() && clock_.elapsed() >= delay_) {
            dialog_.show();
        }
        if (dialog_.isVisible()) {
            QApplication::processEvents();
        }
        return !Cancelled();
    }
    bool Cancelled() const { return dialog_.wasCanceled() || TerminationRequested(); }

private:
    QProgressDialog dialog_;
    QProgressBar* bar_;
    std::uint64_t total_;
    int delay_;
    QElapsedTimer clock_;
};

} // namespace

QtShellFileOperation::QtShellFileOperation(QWidget* owner, Messages& messages, FileSystem& fs)
    : QObject(owner), owner_(owner), messages_(messages), fs_(fs) {}

std::string QtShellFileOperation::OwnerName() const {
    return owner_ != nullptr ? owner_->window()->objectName().toStdString() : std::string();
}

std::string QtShellFileOperation::OwnerCaption() const {
    return owner_ != nullptr ? owner_->window()->windowTitle().toStdString() : std::string();
}

void QtShellFileOperation::ReportError(const char* textKey, const std::string& path) {
    messages_.Show(ErrorMessage(OwnerName(), textKey, path));
}

QtShellFileOperation::ReplaceAnswer QtShellFileOperation::AskReplace(const std::string& target) {
    if (TerminationRequested()) {
        return ReplaceAnswer::Cancel;
    }
    QMessageBox box(
        QMessageBox::Question, QString::fromStdString(OwnerCaption()),
        TextAbout("ReplaceFile", target),
        QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No | QMessageBox::Cancel, owner_);
    box.setObjectName(QStringLiteral("ReplaceFileBox"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (TerminationRequested()) {
        return ReplaceAnswer::Cancel;
    }
    switch (answer) {
    case QMessageBox::Yes:
        return ReplaceAnswer::Yes;
    case QMessageBox::YesToAll:
        return ReplaceAnswer::YesToAll;
    case QMessageBox::No:
        return ReplaceAnswer::No;
    default:
        return ReplaceAnswer::Cancel;
    }
}

void QtShellFileOperation::Copy(const std::vector<std::string>& sources,
                                const std::vector<std::string>& targets) {
    const std::size_t count = std::min(sources.size(), targets.size());
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        total += FileSize(sources[i]);
    }
    CopyProgressWindow progress(owner_, QString::fromStdString(OwnerCaption()), total,
                                progressDelay_);
    bool replaceAll = false;
    std::uint64_t done = 0;
    for (std::size_t i = 0; i < count && !progress.Cancelled(); ++i) {
        const std::string& source = sources[i];
        const std::string& target = targets[i];
        const std::uint64_t size = FileSize(source);
        if (!fs_.FileExists(source) || fs_.FolderExists(target)) {
            ReportError("CopyError", source);
            continue;
        }
        if (SameFile(source, target)) {
            done += size; // already where it should go
            continue;
        }
        const bool replace = fs_.FileExists(target);
        if (replace && !replaceAll) {
            const ReplaceAnswer answer = AskReplace(target);
            progress.AfterQuestion();
            if (answer == ReplaceAnswer::Cancel) {
                break;
            }
            if (answer == ReplaceAnswer::No) {
                done += size;
                continue;
            }
            replaceAll = answer == ReplaceAnswer::YesToAll;
        }
        progress.StartFile(target);
        const Status copied = CopyFileInChunks(source, target, replace, [&](std::uint64_t bytes) {
            return progress.Step(done + bytes);
        });
        done += size;
        if (copied.code() == CopyCancelledCode) {
            break;
        }
        if (!copied) {
            ReportError("CopyError", source);
        }
    }
}

bool QtShellFileOperation::OnHomeVolume(const std::string& path, const std::string& homeVolume) {
    return !homeVolume.empty() && fs_.VolumeOf(path) == homeVolume;
}

void QtShellFileOperation::Delete(const std::vector<std::string>& paths) {
    std::vector<std::string> present;
    std::copy_if(paths.begin(), paths.end(), std::back_inserter(present),
                 [this](const std::string& path) { return fs_.FileExists(path); });
    if (present.empty()) {
        return;
    }
    // Windows keeps no recycle bin on removable drives either: there a delete is for good,
    // and the question says so.
    const std::string home = fs_.VolumeOf(PathBytes(QDir::homePath()));
    const bool allToTrash = std::all_of(present.begin(), present.end(),
                                        [&](const auto& path) { return OnHomeVolume(path, home); });
    const bool one = present.size() == 1;
    const char* key =
        allToTrash ? (one ? "TrashFile" : "TrashFiles") : (one ? "DeleteFile" : "DeleteFiles");
    const std::string argument =
        one ? std::string(BaseName(present.front())) : std::to_string(present.size());
    MessageRequest question = QuestionMessage(OwnerName(), OwnerCaption(), key);
    question.text = ReplaceAll(question.text, "%0", argument);
    question.argument = argument;
    if (messages_.Show(question) != MessageAnswer::Yes) {
        return;
    }
    for (const std::string& path : present) {
        const QString file = PathText(path);
        const bool deleted =
            OnHomeVolume(path, home) ? QFile::moveToTrash(file) : QFile::remove(file);
        if (!deleted) {
            ReportError("DeleteError", path);
        }
    }
}

} // namespace tralvo
