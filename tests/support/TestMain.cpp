#include "common/context/ProgramContext.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// Tests run inside a Qt application so that event loops, timers and queued calls work.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ProgramContext program;  // as every program builds one; fixtures build their own on top
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
