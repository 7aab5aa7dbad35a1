// vardelo: the probability calculator.
#include "calculator/vardelo2.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    StartVardelo();
    const int result = QApplication::exec();
    delete VardeloForm;
    return result;
}
