#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Runs from the window write the undo journal: never the real user's.
    quarvel::test::isolateEnvironment();
    // The widget tests need no window system; a display left in the
    // environment is not used.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
