// SPDX-License-Identifier: GPL-3.0-or-later
// The bare window on its own, for first_frame to start and watch.

#include "bare_window.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    buildBareWindow(window);
    window.show();
    return app.exec();
}
