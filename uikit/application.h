// The program's QApplication: no exception crosses the event loop.  An error
// that reaches the top of an event is shown in a message box, that event
// ends there, and the program goes on.
#pragma once

#include <QApplication>

namespace uikit {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Maps the Windows font families the windows are designed with ("微软雅黑",
// "黑体", "方正兰亭超细黑简体", "Arial Black") to installed families, so
// Chinese text never shows as boxes and labels keep their sizes.
void install_font_substitutes();

}  // namespace uikit
