// main() of the widget tests: one QApplication for the whole program, offscreen unless a
// display was chosen, and run journals in a private state folder.
#include "private_state_folder.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const tralvo::test::PrivateStateFolder stateFolder;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
