#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// Widget tests need an application object alive for the whole run. Settings
// (the window's own and Qt's) go to a fresh folder of this run, never to the
// user's.
int main(int argc, char** argv)
{
    QTemporaryDir config;
    if (!config.isValid() || setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1) != 0)
        return 1;
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
