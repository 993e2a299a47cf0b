// The properties dialog, the about box, the settings dialog and the order probe fit their
// texts in every language of the shipped catalogue. With TRALVO_DIALOG_SHOTS set to a folder, each
// window is saved there as a PNG.
#include "dialog_watch.h"
#include "gui/dialogs/about_box.h"
#include "gui/dialogs/order_probe_dialog.h"
#include "gui/dialogs/properties_dialog.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/gui_settings.h"
#include "gui/widgets/one_line_label.h"
#include "i18n/catalogue_keys.h"
#include "media/sound_file.h"
#include "media/writers/id3v2_writer.h"
#include "platform/text.h"
#include "program_fixture.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <cstdlib>
#include <set>

namespace tralvo {
namespace {

// shortened: the labels that show a long text shortened, by design.
void ExpectChildrenFitAndApart(const QWidget& window, const std::set<std::string>& shortened = {}) {
    const QList<QWidget*> children = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* child : children) {
        const std::string name = child->objectName().toStdString();
        EXPECT_TRUE(window.rect().contains(child->geometry())) << name;
        if (const auto* line = qobject_cast<const QLabel*>(child)) {
            if (const auto* one = dynamic_cast<const OneLineLabel*>(line)) {
                if (shortened.count(name) == 0) {
                    EXPECT_LE(one->TextWidth(), one->width()) << name;
                }
            } else if (line->wordWrap()) {
                EXPECT_LE(line->heightForWidth(line->width()), line->height()) << name;
            }
        }
        if (const auto* button = qobject_cast<const QPushButton*>(child)) {
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8, button->width())
                << name;
        }
        for (const QWidget* other : children) {
            if (other != child) {
                EXPECT_FALSE(child->geometry().intersects(other->geometry()))
                    << name << " overlaps " << other->objectName().toStdString();
            }
        }
    }
}

void SaveShot(QWidget& window, const std::string& name) {
    if (const char* shots = std::getenv("TRALVO_DIALOG_SHOTS")) {
        EXPECT_TRUE(window.grab().save(QString::fromStdString(std::string(shots) + "/" + name)));
    }
}

class DialogsFitTest : public test::ProgramFolderFixture,
                       public testing::WithParamInterface<int> {};

TEST_P(DialogsFitTest, EveryTextFitsWithoutOverlap) {
    const int language = GetParam();
    folder.WriteFile("Tralvo.ini", "[Appearance]\nLanguage=" + std::to_string(language) + "\n");
    Start();
    ASSERT_EQ(Settings.Language, language);
    const std::string code = ToLowerAscii(GetLanguageCode());

    test::Id3v2TagWriter tag(3);
    tag.Text("TIT2", "Tom & Jerry (Live at the Hollywood Bowl, Los Angeles, 14 September 1968)")
        .Text("TPE1", "Bj\xF6rk")
        .Text("TALB", "Homogenic")
        .Text("TRCK", "7");
    const media::SoundFile file(folder.WriteFile("A rather long file name of a live recording.mp3",
                                                 test::AsString(test::Mp3File(tag.Build()))));
    ASSERT_TRUE(file.HasTag());
    PropertiesDialog properties;
    test::DialogWatch watch(properties);
    watch.look = [&](QDialog& dialog) {
        ExpectChildrenFitAndApart(dialog, {"FileNameLbl", "TitleLbl"});
        SaveShot(dialog, "properties-" + code + ".png");
    };
    properties.Show(file);
    ASSERT_EQ(watch.shown.size(), 1u);

    AboutBox about(nullptr, nullptr);
    ExpectChildrenFitAndApart(about);
    SaveShot(about, "about-" + code + ".png");

    for (const CatalogueComponent& component : ProgramComponents()) {
        const QString name = QString::fromUtf8(component.component.data(),
                                               static_cast<qsizetype>(component.component.size()));
        if (component.windowClass == "TPropertiesForm") {
            EXPECT_NE(properties.findChild<QWidget*>(name), nullptr) << component.component;
        } else if (component.windowClass == "TAboutForm") {
            EXPECT_NE(about.findChild<QWidget*>(name), nullptr) << component.component;
        }
    }
}

TEST_P(DialogsFitTest, TheSettingsDialogFitsEveryCaptionWithoutOverlap) {
    const int language = GetParam();
    folder.WriteFile("Tralvo.ini", "[Appearance]\nLanguage=" + std::to_string(language) + "\n");
    Start();
    GuiSettings settings(Settings);
    SettingsDialog dialog(settings, messages, nullptr);
    dialog.show();
    ExpectChildrenFitAndApart(dialog);
    for (const QAbstractButton* box : dialog.findChildren<QAbstractButton*>()) {
        // Check boxes and radio buttons: a caption that breaks its lines is measured by them.
        if (qobject_cast<const QPushButton*>(box) == nullptr) {
            EXPECT_LE(box->sizeHint().width(), box->width()) << box->objectName().toStdString();
            EXPECT_LE(box->sizeHint().height(), box->height()) << box->objectName().toStdString();
        }
    }
    SaveShot(dialog, "settings-" + ToLowerAscii(GetLanguageCode()) + ".png");
    dialog.hide();
}

// A FAT label has at most 11 characters: the player's name then shows whole.
TEST_P(DialogsFitTest, TheSettingsDialogNamesAPlayerInFull) {
    const int language = GetParam();
    folder.WriteFile("Tralvo.ini", "[Appearance]\nLanguage=" + std::to_string(language) + "\n");
    Start();
    GuiSettings settings(Settings);
    SettingsDialog dialog(settings, messages, nullptr);
    dialog.SetPlayerVolumeFinder([](const std::string&) {
        return std::optional<PlayerVolume>({"2024-ABCD", "MUSIC STICK", "/media/MUSIC STICK"});
    });
    dialog.show();
    const auto* name = dialog.findChild<OneLineLabel*>(QStringLiteral("PlayerVolumeLbl"));
    ASSERT_NE(name, nullptr);
    EXPECT_NE(name->text().indexOf(QStringLiteral("MUSIC STICK")), -1);
    EXPECT_LE(name->TextWidth(), name->width()) << name->text().toStdString();
    SaveShot(dialog, "settings-player-" + ToLowerAscii(GetLanguageCode()) + ".png");
    dialog.hide();
}

// Each page of the probe fits its texts, every control has an accessible name, and the
// question page, the one a user has to read, is saved.
TEST_P(DialogsFitTest, TheOrderProbeFitsEveryPage) {
    const int language = GetParam();
    folder.WriteFile("Tralvo.ini", "[Appearance]\nLanguage=" + std::to_string(language) + "\n");
    Start();
    const jobs::OrderProbeOperations written{
        [](const std::string&) { return std::optional<ProbeSounds>(ProbeSounds{}); },
        [](const std::string&, const ProbeSounds&) { return Status::Ok(); },
        [](const std::string&) { return Status::Ok(); }};
    OrderProbeDialog probe(written, messages);
    const auto look = [&] {
        const auto* pages = probe.findChild<QStackedWidget*>(QStringLiteral("PagesSW"));
        ASSERT_NE(pages, nullptr);
        ExpectChildrenFitAndApart(probe);
        for (const CatalogueComponent& component : ProgramComponents()) {
            if (component.windowClass == "TOrderProbeForm") {
                EXPECT_NE(probe.findChild<QWidget*>(QString::fromUtf8(
                              component.component.data(),
                              static_cast<qsizetype>(component.component.size()))),
                          nullptr)
                    << component.component;
            }
        }
        for (int page = 0; page < pages->count(); ++page) {
            ExpectChildrenFitAndApart(*pages->widget(page));
        }
        for (const QAbstractButton* choice : probe.findChildren<QAbstractButton*>()) {
            if (qobject_cast<const QPushButton*>(choice) == nullptr) {
                EXPECT_LE(choice->heightForWidth(choice->width()), choice->height())
                    << choice->objectName().toStdString();
            }
        }
        for (const QWidget* control : probe.findChildren<QWidget*>()) {
            if (qobject_cast<const QAbstractButton*>(control) != nullptr ||
                control->objectName() == "WritingPB") {
                EXPECT_FALSE(control->accessibleName().isEmpty())
                    << control->objectName().toStdString();
            }
        }
        SaveShot(probe, "order-probe-intro-" + ToLowerAscii(GetLanguageCode()) + ".png");
        probe.findChild<QPushButton*>(QStringLiteral("WriteBtn"))->click();
        while (probe.Writing()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        ASSERT_EQ(pages->currentWidget()->objectName(), "QuestionPage");
        SaveShot(probe, "order-probe-" + ToLowerAscii(GetLanguageCode()) + ".png");
    };
    QTimer::singleShot(0, &probe, [&] {
        look();
        probe.done(QDialog::Rejected);
    });
    probe.Run("/media/PLAYER/");
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, DialogsFitTest, testing::Values(0, 1, 2));

} // namespace
} // namespace tralvo
