#include "uikit/application.h"

#include <QFont>
#include <QFontDatabase>
#include <exception>

#include "uikit/messagebox.h"

namespace uikit {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) { install_font_substitutes(); }

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        report_error(QString::fromUtf8(e.what()));
    } catch (...) {
        report_error(QStringLiteral("Unknown error"));
    }
    return false;
}

void install_font_substitutes()
{
    struct Substitute {
        const char* windows_family;
        QStringList candidates;
    };
    const QStringList cjk{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                          QStringLiteral("Noto Sans SC"), QStringLiteral("Droid Sans Fallback")};
    const Substitute substitutes[] = {
        {"微软雅黑", cjk},
        {"黑体", cjk},
        {"方正兰亭超细黑简体", cjk},
        {"Arial Black", QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")} + cjk},
    };
    const QStringList installed = QFontDatabase::families();
    for (const auto& s : substitutes) {
        const QString family = QString::fromUtf8(s.windows_family);
        if (installed.contains(family))
            continue;
        QStringList present;
        for (const auto& c : s.candidates)
            if (installed.contains(c))
                present << c;
        if (!present.isEmpty())
            QFont::insertSubstitutions(family, present);
    }
}

}  // namespace uikit
