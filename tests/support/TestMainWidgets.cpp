#include "common/context/ProgramContext.h"

#include <QApplication>

#include <gtest/gtest.h>

// Widget tests run on Qt's offscreen platform unless told otherwise.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ProgramContext program;  // as every program builds one; fixtures build their own on top
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
