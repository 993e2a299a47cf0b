#pragma once

#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tralvo::test {

// Closes a modal dialog each time it opens, after noting the texts of its labels and
// running look (a test's look at the open dialog). Safe to leave behind when the dialog never
// opens: it lives and dies with the test.
class DialogWatch : public QObject {
public:
    explicit DialogWatch(QDialog& dialog) : dialog_(dialog) { dialog.installEventFilter(this); }
    ~DialogWatch() override { dialog_.removeEventFilter(this); }

    // The label texts by object name, one map for each time the dialog opened.
    std::vector<std::map<std::string, QString>> shown;
    std::function<void(QDialog&)> look;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &dialog_ && event->type() == QEvent::Show) {
            QTimer::singleShot(0, this, [this] {
                std::map<std::string, QString> labels;
                for (const QLabel* label : dialog_.findChildren<QLabel*>()) {
                    labels[label->objectName().toStdString()] = label->text();
                }
                shown.push_back(std::move(labels));
                if (look) {
                    look(dialog_);
                }
                dialog_.accept();
            });
        }
        return false;
    }

private:
    QDialog& dialog_;
};

} // namespace tralvo::test
