#include "app/program.h"

#include "gui/dialogs/about_box.h"
#include "gui/dialogs/properties_dialog.h"
#include "gui/dialogs/settings_dialog.h"
#include "gui/gui_settings.h"
#include "gui/main_window/main_window.h"
#include "gui/panes/icons.h"
#include "gui/qt_text.h"
#include "gui/termination.h"
#include "i18n/language_catalogue.h"
#include "jobs/messages.h"
#include "platform/single_instance.h"
#include "settings/player_switch.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <memory>

namespace tralvo {

namespace {

// Qt's own texts (the buttons of message boxes and dialogs) in the language in force.
void LoadQtTexts(QTranslator& translator) {
    const QString code = QString::fromStdString(GetLanguageCode()).toLower();
    if (translator.load(QStringLiteral("qtbase_") + code,
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&translator);
    }
}

// The windows: the main window at start, the dialogs when first needed; the dialogs are
// destroyed first, the main window last.
struct Windows {
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<SettingsDialog> settings;
    std::unique_ptr<PropertiesDialog> properties;
    std::unique_ptr<AboutBox> about;

    void Destroy() {
        about.reset();
        properties.reset();
        settings.reset();
        main.reset();
    }
};

} // namespace

bool ForceFirstRunRequested(const QStringList& arguments) {
    return arguments.size() > 1 && arguments.at(1) == QStringLiteral("/ForceFirstRun");
}

int RunProgram(const QStringList& arguments, Messages& messages, const QString& instanceName) {
    OpenLanguageCatalogue();
    UserSettings userSettings = LoadSettings();
    // The player plugged in now brings its own settings.
    FollowPlayerVolume(userSettings, SystemFileSystem(), SystemPlayerVolumeFinder());

    QTranslator qtTexts;
    LoadQtTexts(qtTexts);
    SingleInstance instance(instanceName);
    // The settings the windows share, loaded above and written when the program ends; they
    // outlive the windows.
    GuiSettings settings(userSettings);
    Windows windows;
    if (instance.Claim()) {
        QApplication::setApplicationName(QStringLiteral("Tralvo"));
        // Ties the windows to the installed menu entry and its icon.
        QGuiApplication::setDesktopFileName(QStringLiteral("org.tralvo.Tralvo"));
        QApplication::setWindowIcon(ApplicationIcon());
        QApplication::setQuitOnLastWindowClosed(false);

        windows.main = std::make_unique<MainWindow>(settings, messages);
        MainWindow* main = windows.main.get();
        // Each dialog is made when first needed, as a child of the main window.
        const auto help = [main](QWidget* sender) { main->HelpBtnClick(sender); };
        main->SetSettingsForm(std::function([&windows, &settings, &messages, main, help] {
            windows.settings = std::make_unique<SettingsDialog>(settings, messages, help);
            windows.settings->setParent(main, windows.settings->windowFlags());
            return windows.settings.get();
        }));
        main->SetPropertiesForm(std::function([&windows, main] {
            windows.properties = std::make_unique<PropertiesDialog>();
            windows.properties->setParent(main, windows.properties->windowFlags());
            return windows.properties.get();
        }));
        main->SetAboutForm(std::function([&windows, main, help] {
            windows.about = std::make_unique<AboutBox>(help);
            windows.about->setParent(main, windows.about->windowFlags());
            return windows.about.get();
        }));
        QObject::connect(&instance, &SingleInstance::ShowRequested, main,
                         &MainWindow::BringToFront);

        if (main->StartupCheck(ForceFirstRunRequested(arguments))) {
            if (TerminationRequested()) {
                QTimer::singleShot(0, [] { QApplication::quit(); });
            }
            QApplication::exec();
            // Destroyed before the settings are written, so the window state reaches the file.
            windows.Destroy();
        }
    }
    const Status saved = SaveSettings(userSettings);
    windows.Destroy();
    if (!saved) {
        std::fprintf(stderr, "Tralvo: %s\n", saved.message().c_str());
        messages.Show(ErrorMessage("", "SaveSettingsError", SettingsFilePath()));
    }
    CloseLanguageCatalogue();
    return 0;
}

} // namespace tralvo
