// VELA: surface-wave analysis for site characterisation.
#include "app/shell/CWinQuiverApp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    CWinQuiverApp theApp;
    if (!theApp.InitInstance(QApplication::arguments()))
        return 1;
    return QApplication::exec();
}
