// The note page "记事便笺" of the main window: the selected day's note,
// read-only, and the buttons that edit it and open the note manager.  The
// main window puts it into its page TabSheet6 and loads it after every
// change of date.
#pragma once

#include <QWidget>
#include <memory>

class QPlainTextEdit;

namespace uikit {
class DayHost;
}
namespace Ui {
class NotePage;
}

namespace notes {

class NotePage : public QWidget {
    Q_OBJECT

public:
    NotePage(uikit::DayHost& host, QWidget* parent);
    ~NotePage() override;

    // Shows the note of the day `host` has selected.
    void load_selected_day();
    QPlainTextEdit* memo() const;

public slots:
    // A double click on the memo, or "编辑(&E)": the note editor opens with
    // the page's text, and a confirmed text is stored at once.
    void Memo_noteDblClick();

signals:
    // "管理": the note manager is to open.
    void note_manager_requested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::NotePage> ui;
    uikit::DayHost& host_;
};

}  // namespace notes
