// The reminder window the program shows without blocking: a large red
// message in an engraved style and one "确定(&S)" button.  The task
// reminder and the anniversary reminders use it, each with its own name and
// caption.
#pragma once

#include <QLabel>
#include <QWidget>
#include <memory>

namespace Ui {
class HintMessage;
}

namespace uikit {

// Text drawn recessed into the window: a light copy one pixel down and to
// the right, the text in its colour over it.
class EngravedLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class HintMessage : public QWidget {
    Q_OBJECT

public:
    // A window named `object_name` with the caption `caption`, showing
    // `text`.  It deletes itself when closed.
    HintMessage(const QString& object_name, const QString& caption, const QString& text);
    ~HintMessage() override;

    // Shows the window at the centre of the primary screen, without
    // blocking.
    void show_centred();

signals:
    // The window closes, by its button or by its close box.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::HintMessage> ui;
};

}  // namespace uikit
