#include "options/option.h"

#include <QPainter>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "options/autorun.h"
#include "storage/settings.h"
#include "ui_frm_option.h"
#include "uikit/errors.h"
#include "uikit/modal.h"
#include "uikit/notefont.h"
#include "uikit/style.h"

namespace options {

namespace {

const QColor page_blue{0xE3, 0xEE, 0xFD};
const QColor preview_yellow{0xFF, 0xFF, 0xB0};

// The colour list's entries: the value is what note_fontcolor stores, red
// in the lowest byte.  A value selects the first entry that has it.
struct ColourEntry {
    const char* name;
    int value;
};
constexpr ColourEntry colour_entries[] = {
    {"Default", 0},     {"Black", 0},        {"Maroon", 128},   {"Green", 32768},   {"Olive", 32896},
    {"Navy", 8388608},  {"Purple", 8388736}, {"Teal", 8421376}, {"Gray", 8421504},  {"Silver", 12632256},
    {"Red", 255},       {"Lime", 65280},     {"Yellow", 65535}, {"Blue", 16711680}, {"Fuchsia", 16711935},
    {"Aqua", 16776960}, {"White", 16777215},
};

constexpr int min_blend = 30;
constexpr int max_blend = 255;
constexpr int min_hours = 1;
constexpr int max_hours = 24;

QString page_caption(int page)
{
    switch (page) {
    case basic_page: return QStringLiteral("选项设置");
    case note_editor_page: return QStringLiteral("编辑器设置");
    case reminder_page: return QStringLiteral("任务提醒");
    default: throw std::invalid_argument("no options page " + std::to_string(page));
    }
}

QIcon swatch(const QColor& colour)
{
    QPixmap picture(16, 12);
    picture.fill(colour);
    QPainter painter(&picture);
    painter.setPen(Qt::gray);
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return QIcon(picture);
}

std::string switch_text(bool on) { return on ? "1" : "0"; }

int slider_position(int form_blend) { return std::clamp(form_blend, min_blend, max_blend); }

// The hours in Edit_taskhint: an empty field or a value below 1 is 1, one
// above 24 is 24.  Full-width digits, as a Chinese input method types
// them, count like the others.
int taskhint_hours(const QString& text)
{
    int hours = 0;
    bool any_digit = false;
    for (const QChar c : text) {
        if (c.digitValue() < 0)
            continue;
        any_digit = true;
        hours = std::min(hours * 10 + c.digitValue(), max_hours + 1);
    }
    return any_digit ? std::clamp(hours, min_hours, max_hours) : min_hours;
}

}  // namespace

Tfrm_option::Tfrm_option(int page, OptionTargets targets, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frm_option>()), targets_(std::move(targets))
{
    const QString caption = page_caption(page);
    ui->setupUi(this);
    setFixedSize(size());
    apply_fonts_and_colours();
    fill_colour_list();
    ui->Edit_taskhint->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9０-９]*")), ui->Edit_taskhint));
    connect(ui->TrackBar1, &QSlider::valueChanged, this, &Tfrm_option::TrackBar1Change);
    connect(ui->Button1, &QPushButton::clicked, this, &Tfrm_option::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &Tfrm_option::Button2Click);
    connect(ui->Edit_taskhint, &QLineEdit::editingFinished, this, &Tfrm_option::Edit_taskhintExit);

    load_settings();
    for (QComboBox* list : {static_cast<QComboBox*>(ui->RzFontComboBox1), ui->RzColorComboBox1, ui->RzComboBox1})
        connect(list, &QComboBox::currentIndexChanged, this, &Tfrm_option::RzFontComboBox1Change);
    show_page(page);
    setWindowTitle(caption);

    // The slider's position is the main window's opacity from the start,
    // whatever position it had before.
    {
        const QSignalBlocker quiet(ui->TrackBar1);
        ui->TrackBar1->setValue(slider_position(app_settings.form_blend));
    }
    TrackBar1Change(ui->TrackBar1->value());
}

Tfrm_option::~Tfrm_option() = default;

void Tfrm_option::apply_fonts_and_colours()
{
    setFont(uikit::point_font("微软雅黑", 9));
    uikit::set_text_colour(this, uikit::colour::window_text);
    for (QWidget* sheet : {ui->TabSheet1, ui->TabSheet6, ui->TabSheet7}) {
        sheet->setAutoFillBackground(true);
        QPalette palette = sheet->palette();
        palette.setColor(QPalette::Window, page_blue);
        sheet->setPalette(palette);
    }
    uikit::set_base_colour(ui->Memo1, preview_yellow);
    ui->Memo1->verticalScrollBar()->setAccessibleName(QStringLiteral("字体预览滚动条"));
}

void Tfrm_option::fill_colour_list()
{
    for (const ColourEntry& entry : colour_entries)
        ui->RzColorComboBox1->addItem(swatch(uikit::colour_of_note_value(entry.value)), QString::fromLatin1(entry.name),
                                      entry.value);
}

// The controls of every page from the Settings, so that a confirmation
// from one page writes the unchanged values of the others back.
void Tfrm_option::load_settings()
{
    const Settings& s = app_settings;
    ui->Memo1->setPlainText(QStringLiteral("Velkin是一款绿色免费、小巧实用的日历计划管理软件！"));
    ui->RzFontComboBox1->setCurrentIndex(ui->RzFontComboBox1->findText(QString::fromStdString(s.note_fontname)));
    // A stored colour that is no colour number, or none of the list's,
    // selects nothing; it is then kept unless a colour is chosen.
    const std::optional<int> colour = uikit::note_colour_value(s.note_fontcolor);
    ui->RzColorComboBox1->setCurrentIndex(colour ? ui->RzColorComboBox1->findData(*colour) : -1);
    ui->RzComboBox1->setCurrentIndex(ui->RzComboBox1->findText(QString::number(s.note_fontsize)));
    show_preview();

    ui->cb_desktoplink->setChecked(s.desktoplink == "1");
    ui->cb_autorun->setChecked(s.autorun == "1");
    ui->cb_taskhint->setChecked(s.taskhint_use == "1");
    // A hand-edited interval shows as the reminder runs it.
    ui->Edit_taskhint->setText(QString::number(std::clamp(s.taskhint_time, min_hours, max_hours)));
}

// The preview at opening shows the note font as the editor shows it: the
// stored colour even when the list has no entry for it.
void Tfrm_option::show_preview()
{
    if (ui->RzFontComboBox1->currentIndex() >= 0)
        uikit::set_note_family(ui->Memo1, ui->RzFontComboBox1->currentText());
    uikit::set_note_colour(ui->Memo1, uikit::note_font_colour(app_settings.note_fontcolor));
    uikit::set_note_points(ui->Memo1, uikit::note_font_points(app_settings.note_fontsize));
}

// Only the chosen page's tab is visible: the user cannot switch pages.
void Tfrm_option::show_page(int page)
{
    QWidget* const chosen = page == basic_page         ? ui->TabSheet1
                            : page == note_editor_page ? ui->TabSheet6
                                                       : ui->TabSheet7;
    const int shown = ui->RzPageControl1->indexOf(chosen);
    for (int i = 0; i < ui->RzPageControl1->count(); ++i)
        ui->RzPageControl1->setTabVisible(i, i == shown);
    ui->RzPageControl1->setCurrentIndex(shown);
}

void Tfrm_option::TrackBar1Change(int position)
{
    if (targets_.set_opacity)
        targets_.set_opacity(position);
}

void Tfrm_option::RzFontComboBox1Change()
{
    if (ui->RzFontComboBox1->currentIndex() >= 0)
        uikit::set_note_family(ui->Memo1, ui->RzFontComboBox1->currentText());
    if (ui->RzColorComboBox1->currentIndex() >= 0)
        uikit::set_note_colour(ui->Memo1, uikit::colour_of_note_value(ui->RzColorComboBox1->currentData().toInt()));
    if (ui->RzComboBox1->currentIndex() >= 0)
        uikit::set_note_points(ui->Memo1, ui->RzComboBox1->currentText().toInt());
}

void Tfrm_option::Edit_taskhintExit()
{
    const QString hours = QString::number(taskhint_hours(ui->Edit_taskhint->text()));
    if (ui->Edit_taskhint->text() != hours)
        ui->Edit_taskhint->setText(hours);
}

// Steps 1 to 8 of the confirmation: every value of all three pages; a list
// without a selected entry keeps its Setting.
void Tfrm_option::store_settings() const
{
    Settings& s = app_settings;
    s.desktoplink = switch_text(ui->cb_desktoplink->isChecked());
    s.autorun = switch_text(ui->cb_autorun->isChecked());
    s.form_blend = ui->TrackBar1->value();
    s.taskhint_use = switch_text(ui->cb_taskhint->isChecked());
    s.taskhint_time = taskhint_hours(ui->Edit_taskhint->text());
    if (ui->RzFontComboBox1->currentIndex() >= 0)
        s.note_fontname = ui->RzFontComboBox1->currentText().toStdString();
    if (ui->RzColorComboBox1->currentIndex() >= 0)
        s.note_fontcolor = std::to_string(ui->RzColorComboBox1->currentData().toInt());
    if (ui->RzComboBox1->currentIndex() >= 0)
        s.note_fontsize = ui->RzComboBox1->currentText().toInt();
}

// vk_reg reads the wishes from the settings file, so the file is written
// before it starts.  When either fails the error is shown and the dialog
// stays open; the Settings and the reminder have changed already, and a
// later confirmation runs every step again.
void Tfrm_option::Button1Click()
{
    Edit_taskhintExit();
    store_settings();
    if (targets_.configure_reminder)
        targets_.configure_reminder();
    const bool done = uikit::report_errors([this] {
        if (targets_.save_settings)
            targets_.save_settings();
        regautoandlink();
    });
    if (done)
        accept();
}

void Tfrm_option::Button2Click() { reject(); }

void Tfrm_option::reject()
{
    TrackBar1Change(slider_position(app_settings.form_blend));
    QDialog::reject();
}

void show_option(int page, QWidget* owner, const OptionTargets& targets)
{
    Tfrm_option dialog(page, targets, owner);
    uikit::show_modal(dialog, owner);
}

}  // namespace options
