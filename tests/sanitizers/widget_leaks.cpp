// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every widget test of the sanitizer build. Qt keeps each widget in a global list
// until the very end, so LeakSanitizer never reports a window that a test or the program forgot
// to delete. When the application object goes away this check fails the test for every
// parentless widget still alive, with AddressSanitizer's record of where it was allocated.

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <sanitizer/asan_interface.h>

namespace {

void failOnWidgetsLeft()
{
    int left = 0;
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget* w : widgets) {
        if (w->parentWidget())
            continue;
        ++left;
        std::fprintf(stderr, "leaked widget: %s \"%s\"\n", w->metaObject()->className(),
                     qPrintable(w->objectName()));
        __asan_describe_address(static_cast<void*>(w));
    }
    if (left > 0) {
        std::fprintf(stderr, "ERROR: %d widget(s) without a parent outlived the application\n", left);
        std::fflush(stderr);
        std::_Exit(1);
    }
}

void installWidgetLeakCheck()
{
    qAddPostRoutine(failOnWidgetsLeft);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installWidgetLeakCheck)
