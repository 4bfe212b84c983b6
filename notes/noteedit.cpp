#include "notes/noteedit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>

#include "notes/formshape.h"
#include "notes/noteops.h"
#include "storage/settings.h"
#include "ui_frm_noteedit.h"
#include "uikit/modal.h"
#include "uikit/notefont.h"
#include "uikit/style.h"

namespace notes {

namespace {

const QColor sheet_yellow(0xFF, 0xFF, 0xB0);

EditorSettingsOpener& settings_opener()
{
    static EditorSettingsOpener instance;
    return instance;
}

void paint_on_sheet(QWidget* label, const QColor& text)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, sheet_yellow);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    label->setFont(uikit::point_font("微软雅黑", 9));
}

// The centre of the screen the owner is on, or of the primary screen.
QPoint screen_centre(QWidget* owner)
{
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().center() : QPoint();
}

}  // namespace

void apply_note_font(QPlainTextEdit* memo, const Settings& settings)
{
    uikit::apply_note_font(memo, settings.note_fontname, settings.note_fontcolor, settings.note_fontsize);
}

void set_editor_settings_opener(EditorSettingsOpener open) { settings_opener() = std::move(open); }

NoteEditor::NoteEditor(const QString& date_text, const QString& title_text, QPlainTextEdit* note_memo, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      ui(std::make_unique<Ui::frm_noteedit>()),
      note_memo_(note_memo)
{
    ui->setupUi(this);
    setFont(uikit::program_font());
    setFixedSize(size());
    setWindowTitle(title_text);
    ui->RzFormShape1->set_picture(notepad_picture());
    paint_on_sheet(ui->Label2, uikit::colour::grey);
    paint_on_sheet(ui->Label1, uikit::colour::red);
    ui->Memo1->setFont(uikit::point_font("微软雅黑", 9));
    uikit::set_base_colour(ui->Memo1, sheet_yellow);

    ui->Memo1->setPlainText(memo_text(note_memo));
    ui->Label1->setText(date_text);
    ui->Label2->setText(title_text);
    apply_note_font(ui->Memo1, app_settings);

    connect(ui->Button1, &QPushButton::clicked, this, &NoteEditor::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &NoteEditor::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &NoteEditor::Button3Click);
    // Ctrl+Enter confirms without leaving the text; Enter alone is a line
    // break in it.
    for (const QKeyCombination keys :
         {Qt::ControlModifier | Qt::Key_Return, Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this, &NoteEditor::Button1Click);

    move(screen_centre(owner) - rect().center());
    ui->Memo1->setFocus();
}

NoteEditor::~NoteEditor() = default;

void NoteEditor::Button1Click()
{
    note_memo_->setPlainText(memo_text(ui->Memo1));
    accept();
}

void NoteEditor::Button2Click() { reject(); }

void NoteEditor::Button3Click()
{
    if (settings_opener())
        settings_opener()(this);
    apply_note_font(ui->Memo1, app_settings);
}

// Escape would throw away what was typed: it does nothing here.  The
// system's close command still cancels.
void NoteEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

int show_noteedit(const QString& date_text, const QString& title_text, QPlainTextEdit* note_memo, QWidget* owner)
{
    NoteEditor editor(date_text, title_text, note_memo, owner);
    return uikit::show_modal_as_is(editor, owner) == QDialog::Accepted ? 1 : 0;
}

}  // namespace notes
