#include "mainwindow/monthview.h"

#include <QFontMetrics>
#include <algorithm>
#include <optional>
#include <stdexcept>

#include "calendar/DateCn.h"
#include "mainwindow/selecteddate.h"
#include "storage/datafile.h"
#include "storage/daydata.h"
#include "ui_FRM_Date.h"
#include "uikit/clicklabel.h"
#include "uikit/daykey.h"
#include "uikit/shape.h"
#include "uikit/style.h"

using uikit::ClickLabel;
using uikit::set_text_colour;
using uikit::text_colour;
namespace colour = uikit::colour;

namespace {

DateCn::Date to_cn(QDate date) { return DateCn::make_date(date.year(), date.month(), date.day()); }

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

// Cell i (0-36) lies in row i div 7 and column i mod 7, Sunday first.
bool weekend_column(int cell) { return cell % 7 == 0 || cell % 7 == 6; }

}  // namespace

MonthView::MonthView(Ui::FRM_Date& form, QObject* parent) : QObject(parent), ui(form) { apply_fonts_and_colours(); }

void MonthView::apply_fonts_and_colours()
{
    const QFont plain = uikit::program_font();
    const QFont heading = uikit::pixel_font("黑体", 16, QFont::Bold);
    for (QLabel* label : {ui.label_year, ui.Label19, ui.Label_month, ui.Label18}) {
        label->setFont(heading);
        set_text_colour(label, colour::green);
    }
    for (QLabel* label : {ui.Label_china, ui.Label_star}) {
        label->setFont(plain);
        set_text_colour(label, colour::fuchsia);
    }
    QFont link = plain;
    link.setUnderline(true);
    ui.lb_today->setFont(link);
    set_text_colour(ui.lb_today, colour::green);

    for (QLabel* label : {ui.Label2, ui.Label3, ui.Label4, ui.Label6, ui.Label5, ui.Label8, ui.Label7}) {
        label->setFont(plain);
        set_text_colour(label, colour::black);
    }
    set_text_colour(ui.Label2, colour::red);
    set_text_colour(ui.Label7, colour::red);

    ui.Shape2->setBrushColor(colour::silver);
    ui.Shape2->setPenColor(colour::grey);
    ui.day1->setFont(uikit::pixel_font("Arial Black", 14, QFont::Black));
    set_text_colour(ui.day1, colour::black);
    ui.Cnday->setFont(plain);
    set_text_colour(ui.Cnday, colour::lunar_green);
}

namespace {

// The marks take the label's left columns up to mark_right; a day number
// centred in the label must start at least a pixel to the right of them.
// Where the font draws two digits wider than the design allows, the number
// is centred in the part of the label beside the marks instead.
int day_number_indent(const QFont& font, int label_width, int mark_right)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (int day = 10; day <= 31; ++day)
        widest = std::max(widest, metrics.boundingRect(QString::number(day)).width());
    // Centred in (indent, label_width): left = (label_width + indent - widest) / 2.
    const int indent = 2 * (mark_right + 1) - label_width + widest + 1;
    return std::max(0, indent);
}

}  // namespace

// Cell i (1-37) lies in row (i-1) div 7 and column (i-1) mod 7, Sunday
// first; the templates day1 and Cnday give cell 1's place, size and font.
// Creation order is paint order: the labels paint over the marks.
void MonthView::build_day_cells()
{
    QWidget* panel = ui.Panel1;
    const QRect day_template = ui.day1->geometry();
    const QRect lunar_template = ui.Cnday->geometry();
    // The template's font, at the 11 points every month is drawn in.
    QFont day_font = ui.day1->font();
    day_font.setPointSize(11);
    constexpr int mark_left = 2, mark_size = 6;
    const int indent = day_number_indent(day_font, day_template.width(), mark_left + mark_size);
    for (int i = 0; i < cell_count; ++i) {
        const int row = i / 7;
        const int column = i % 7;
        const QPoint day_pos(day_template.left() + 42 * column, day_template.top() + 32 * row);
        const QPoint lunar_pos(lunar_template.left() + 42 * column, lunar_template.top() + 32 * row);
        const QString number = QString::number(i + 1);

        auto* task_mark = new uikit::Shape(panel);
        task_mark->setObjectName(QStringLiteral("task_marks_") + number);
        task_mark->setGeometry(day_pos.x() + mark_left, day_pos.y() + 4, mark_size, mark_size);
        task_mark->setBrushColor(colour::lime);
        task_mark->setPenColor(colour::green);
        task_mark->hide();

        auto* note_mark = new uikit::Shape(panel);
        note_mark->setObjectName(QStringLiteral("note_marks_") + number);
        note_mark->setGeometry(day_pos.x() + mark_left, day_pos.y() + 11, mark_size, mark_size);
        note_mark->setBrushColor(colour::sky_blue);
        note_mark->setPenColor(colour::blue);
        note_mark->hide();

        auto* day_label = new ClickLabel(panel);
        day_label->setObjectName(QStringLiteral("day_labels_") + number);
        day_label->setGeometry(QRect(day_pos, day_template.size()));
        day_label->setAlignment(ui.day1->alignment());
        day_label->setContentsMargins(indent, 0, 0, 0);
        day_label->setFont(day_font);
        set_text_colour(day_label, colour::black);
        day_label->hide();
        connect(day_label, &ClickLabel::pressed, this, [this](ClickLabel* l) { CnDayMouseDown(l); });
        connect(day_label, &ClickLabel::clicked, this, [this](ClickLabel* l) { emit day_clicked(l->tag); });

        auto* lunar_label = new ClickLabel(panel);
        lunar_label->setObjectName(QStringLiteral("lunar_labels_") + number);
        lunar_label->setGeometry(QRect(lunar_pos, lunar_template.size()));
        lunar_label->setAlignment(ui.Cnday->alignment());
        lunar_label->setFont(ui.Cnday->font());
        set_text_colour(lunar_label, text_colour(ui.Cnday));
        lunar_label->hide();
        connect(lunar_label, &ClickLabel::pressed, this, [this](ClickLabel* l) { ChnDateMouseDown(l); });
        connect(lunar_label, &ClickLabel::clicked, this, [this](ClickLabel* l) { emit day_clicked(l->tag); });

        task_marks[i] = task_mark;
        note_marks[i] = note_mark;
        day_labels[i] = day_label;
        lunar_labels[i] = lunar_label;
    }
}

void MonthView::CnDayMouseDown(ClickLabel* label) { emit day_pressed(label->tag, label->pos() + QPoint(-1, 1)); }

void MonthView::ChnDateMouseDown(ClickLabel* label) { emit day_pressed(label->tag, label->pos() + QPoint(0, -18)); }

void MonthView::move_frame(QPoint position) { ui.Shape2->move(position); }

void MonthView::show_star_sign(int day, QDate date)
{
    ui.Label_star->setText(text(DateCn::star_sign_for_day(day, to_cn(date))));
}

void MonthView::redraw_month(QDate date)
{
    redraw_header(date);
    reset_cells();

    const QDate first(date.year(), date.month(), 1);
    const int first_cell = first.dayOfWeek() % 7;  // Sunday is column 0
    const int days = SelectedDate::days_in_month(date.year(), date.month());
    try {
        if (!app_database)
            throw std::runtime_error("no data file");
        // One read transaction for the whole month: the file is locked once
        // instead of once per query, and the marks come from one state.
        std::optional<SqlTransaction> snapshot;
        if (!app_database->transaction_open())
            snapshot.emplace(*app_database);
        for (int k = 1; k <= days; ++k)
            draw_day(first_cell + k - 1, k, date);
        if (snapshot)
            snapshot->commit();
    } catch (...) {
    }
}

void MonthView::redraw_header(QDate date)
{
    month_on_show_ = QDate(date.year(), date.month(), 1);
    ui.Label_month->setText(QString::number(date.month()));
    ui.label_year->setText(QString::number(date.year()));
    const auto cn = to_cn(date);
    ui.Label_china->setText(text(DateCn::year_stem(cn) + DateCn::year_branch_animal(cn)));
}

void MonthView::reset_cells()
{
    for (int i = 0; i < cell_count; ++i) {
        day_labels[i]->hide();
        lunar_labels[i]->hide();
        task_marks[i]->hide();
        note_marks[i]->hide();
        set_text_colour(day_labels[i], weekend_column(i) ? colour::red : colour::black);
        set_text_colour(lunar_labels[i], weekend_column(i) ? colour::red : text_colour(ui.Cnday));
    }
}

void MonthView::draw_day(int cell, int day, QDate date)
{
    ClickLabel* day_label = day_labels[cell];
    ClickLabel* lunar_label = lunar_labels[cell];
    day_label->setText(QString::number(day));
    day_label->tag = day;

    const QDate cell_date(date.year(), date.month(), day);
    const daydata::DayMarks marks = daydata::day_marks(*app_database, uikit::daykey_of(cell_date).toStdString());
    task_marks[cell]->setVisible(marks.tasks);
    note_marks[cell]->setVisible(marks.note);

    // Calendar text, weakest first; each stronger one overwrites.
    const auto cn_date = to_cn(cell_date);
    lunar_label->tag = day;
    QString lunar = text(DateCn::lunar_day_name(cn_date));
    QColor colour = text_colour(lunar_label);
    if (lunar == QStringLiteral("初一")) {
        lunar = text(DateCn::lunar_month_name(cn_date));
        colour = colour::red;
    }
    if (auto s = DateCn::gregorian_observance(day, to_cn(date)); !s.empty()) {
        lunar = text(s);
        colour = colour::fuchsia;
    }
    if (auto s = DateCn::solar_term_name(cn_date); !s.empty()) {
        lunar = text(s);
        colour = colour::term_blue;
    }
    if (auto s = DateCn::lunar_festival(cn_date); !s.empty()) {
        lunar = text(s);
        colour = colour::fuchsia;
    }
    lunar_label->setText(lunar);
    set_text_colour(lunar_label, colour);

    if (day == date.day()) {
        move_frame(day_label->pos() + QPoint(-1, 1));
        show_star_sign(day, date);
    }
    day_label->show();
    lunar_label->show();
}
