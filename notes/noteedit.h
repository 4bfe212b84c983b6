// The note editor frm_noteedit: a borderless notepad-shaped window that
// stays on top, where the note of the selected day is typed.  It takes the
// text from the note page's memo and hands it back there when confirmed.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

class QPlainTextEdit;
struct Settings;

namespace Ui {
class frm_noteedit;
}

namespace notes {

// Gives `memo` the note font of `settings`: the family when it is installed
// (in regular style; otherwise the family stays), the colour and the size.
void apply_note_font(QPlainTextEdit* memo, const Settings& settings);

// What "编辑器设置" opens: the options dialog on its note-editor page, over
// the editor.  Until one is set the button opens nothing.
using EditorSettingsOpener = std::function<void(QWidget* editor)>;
void set_editor_settings_opener(EditorSettingsOpener open);

class NoteEditor : public QDialog {
    Q_OBJECT

public:
    // An editor of the text of `note_memo`, with the date and title texts
    // and the note font of the Settings; it returns the text to `note_memo`
    // when confirmed.
    NoteEditor(const QString& date_text, const QString& title_text, QPlainTextEdit* note_memo, QWidget* owner);
    ~NoteEditor() override;

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::frm_noteedit> ui;
    QPlainTextEdit* note_memo_;
};

// Opens the editor over `owner` at the centre of the screen, with the text
// of `note_memo`, the date text and the title text.  Returns 1 when the
// user confirmed (the text is then in `note_memo`, as typed) and 0
// otherwise.
int show_noteedit(const QString& date_text, const QString& title_text, QPlainTextEdit* note_memo, QWidget* owner);

}  // namespace notes
