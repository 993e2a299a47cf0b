#include "app/program.h"
#include "gui/qt_messages.h"

#include <QApplication>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    try {
        tralvo::QtMessages messages;
        return tralvo::RunProgram(QApplication::arguments(), messages);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Tralvo: %s\n", error.what());
        return 1;
    }
}
