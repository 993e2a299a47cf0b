#include "app/program.h"
#include "gui/qt_messages.h"
#include "platform/version_record.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

constexpr const char* Usage = "usage: tralvo [/ForceFirstRun]\n"
                              "       tralvo --version | --help\n"
                              "\n"
                              "Starts Tralvo; /ForceFirstRun shows the first-run settings again.\n"
                              "tralvo-cli does the same work from a shell: see tralvo-cli help.\n";

} // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they work without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        const std::string text = tralvo::VersionText(
            tralvo::VersionRecord(tralvo::ProgramVersionRecordText()), "tralvo");
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    QApplication application(argc, argv);
    try {
        tralvo::QtMessages messages;
        return tralvo::RunProgram(QApplication::arguments(), messages);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Tralvo: %s\n", error.what());
        return 1;
    }
}
