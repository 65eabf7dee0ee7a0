#include "app/window/application.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// The window's tests run in the editor's own application object, so that
// an error that escapes every guard reaches its last-resort catch, which
// counts it. Settings and data (the personal dictionary) go to fresh folders
// of this run, never to the user's.
int main(int argc, char** argv)
{
    QTemporaryDir config;
    if (!config.isValid() || setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1) != 0)
        return 1;
    QTemporaryDir data;
    if (!data.isValid() || setenv("XDG_DATA_HOME", data.path().toLocal8Bit().constData(), 1) != 0)
        return 1;
    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
