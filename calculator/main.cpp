// vardelo: the probability calculator.
#include "calculator/vardelo2.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// Whether Qt has a platform to show the windows on: an X or Wayland
// display, or a platform named by QT_QPA_PLATFORM or -platform (the tests'
// offscreen one).  Without any, Qt would abort the program with its
// advice to reinstall it.
bool HasPlatform(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    return false;
}

}  // namespace

int main(int argc, char *argv[])
{
    if (!HasPlatform(argc, argv)) {
        std::fputs(
            "vardelo: the calculator needs a graphical session (an X or Wayland display; "
            "QT_QPA_PLATFORM=offscreen for tests)\n",
            stderr);
        return 1;
    }
    QApplication app(argc, argv);
    StartVardelo();
    const int result = QApplication::exec();
    delete VardeloForm;
    return result;
}
