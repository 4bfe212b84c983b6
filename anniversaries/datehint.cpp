#include "anniversaries/datehint.h"

#include <QCalendarWidget>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTextCharFormat>
#include <algorithm>

#include "storage/datafile.h"
#include "storage/daydata.h"
#include "ui_frm_datehint.h"
#include "uikit/errors.h"
#include "uikit/messagebox.h"
#include "uikit/modal.h"
#include "uikit/style.h"

namespace anniversaries {

namespace {

enum Column { Fixed = 0, DateColumn, DaysColumn, StateColumn, DescriptionColumn, ColumnCount };

const QString date_format = QStringLiteral("yyyy-MM-dd");
// Narrower than a header section may be by default.
constexpr int fixed_column_width = 10;

}  // namespace

Tfrm_datehint::Tfrm_datehint(QDate today, QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frm_datehint>())
{
    ui->setupUi(this);
    setFixedSize(563, 397);
    setFont(uikit::point_font("微软雅黑", 9));
    QPalette palette = this->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, uikit::colour::window_text);
    setPalette(palette);

    setup_grid();
    ui->RzDateTimePicker1->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    ui->RzDateTimePicker1->setDate(today);
    mark_today(today);

    connect(ui->RzStringGrid1, &QTableWidget::cellClicked, this, &Tfrm_datehint::RzStringGrid1Click);
    connect(ui->RzStringGrid1, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous_row, int) {
        if (row != previous_row)
            RzStringGrid1Click();
    });
    connect(ui->Button3, &QPushButton::clicked, this, &Tfrm_datehint::Button3Click);
    connect(ui->bt_edit, &QPushButton::clicked, this, &Tfrm_datehint::bt_editClick);
    connect(ui->bt_del, &QPushButton::clicked, this, &Tfrm_datehint::bt_delClick);
    connect(ui->Button1, &QPushButton::clicked, this, &Tfrm_datehint::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &Tfrm_datehint::Button2Click);
}

Tfrm_datehint::~Tfrm_datehint() = default;

void Tfrm_datehint::setup_grid()
{
    QTableWidget* grid = ui->RzStringGrid1;
    grid->setColumnCount(ColumnCount);
    grid->setHorizontalHeaderLabels({QString(), QStringLiteral("纪念日"), QStringLiteral("提前提醒天数"),
                                     QStringLiteral("状态"), QStringLiteral("纪念日说明")});
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(fixed_column_width);
    const int widths[ColumnCount] = {fixed_column_width, 81, 80, 51, 296};
    for (int column = 0; column < ColumnCount; ++column)
        grid->setColumnWidth(column, widths[column]);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setSectionResizeMode(Fixed, QHeaderView::Fixed);
    grid->setRowCount(1);
    grid->setCurrentCell(0, DateColumn);
}

void Tfrm_datehint::mark_today(QDate today)
{
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setFontUnderline(true);
    format.setForeground(uikit::colour::red);
    ui->RzDateTimePicker1->calendarWidget()->setDateTextFormat(today, format);
}

std::vector<Entry> Tfrm_datehint::load()
{
    const std::vector<Entry> stored = entries_of(daydata::load_anniversaries(open_app_database()));
    std::vector<Entry> unreadable;
    for (const Entry& entry : stored) {
        append_row(entry);
        if (!readable(entry))
            unreadable.push_back(entry);
    }
    RzStringGrid1Click();
    return unreadable;
}

std::vector<Entry> Tfrm_datehint::entries() const
{
    std::vector<Entry> list;
    if (!has_entries_)
        return list;
    for (int row = 0; row < ui->RzStringGrid1->rowCount(); ++row)
        list.push_back(row_entry(row));
    return list;
}

// The empty list keeps one blank row; the first entry takes it.
void Tfrm_datehint::append_row(const Entry& entry)
{
    QTableWidget* grid = ui->RzStringGrid1;
    if (has_entries_) {
        const QSignalBlocker still(grid);
        grid->setRowCount(grid->rowCount() + 1);
    }
    write_row(grid->rowCount() - 1, entry);
    set_has_entries(true);
}

void Tfrm_datehint::write_row(int row, const Entry& entry)
{
    QTableWidget* grid = ui->RzStringGrid1;
    grid->setItem(row, DateColumn, new QTableWidgetItem(entry.date));
    grid->setItem(row, DaysColumn, new QTableWidgetItem(entry.days));
    grid->setItem(row, StateColumn, new QTableWidgetItem(entry.state));
    grid->setItem(row, DescriptionColumn, new QTableWidgetItem(entry.description));
}

Entry Tfrm_datehint::row_entry(int row) const
{
    const auto cell = [&](int column) {
        const QTableWidgetItem* item = ui->RzStringGrid1->item(row, column);
        return item ? item->text() : QString();
    };
    return Entry{cell(DateColumn), cell(DaysColumn), cell(StateColumn), cell(DescriptionColumn)};
}

int Tfrm_datehint::current_row() const { return std::max(ui->RzStringGrid1->currentRow(), 0); }

void Tfrm_datehint::set_has_entries(bool has)
{
    has_entries_ = has;
    ui->bt_edit->setEnabled(has);
    ui->bt_del->setEnabled(has);
}

// A row whose date or days cannot be read was named when the window
// opened; the editors keep what they hold.
void Tfrm_datehint::RzStringGrid1Click()
{
    if (!has_entries_)
        return;
    const Entry entry = row_entry(current_row());
    const std::optional<QDate> date = parse_date(entry.date);
    const std::optional<int> days = parse_days(entry.days);
    if (!date || !days)
        return;
    ui->RzDateTimePicker1->setDate(*date);
    ui->RzSpinEdit1->setValue(*days);
    ui->RzComboBox1->setCurrentText(entry.state);
    ui->RzMemo1->setPlainText(entry.description);
}

std::optional<Entry> Tfrm_datehint::editor_entry()
{
    const QString description = ui->RzMemo1->toPlainText().trimmed();
    if (description.isEmpty()) {
        uikit::message_box(this, QStringLiteral("纪念日说明不能为空！"));
        ui->RzMemo1->setFocus();
        return std::nullopt;
    }
    // Text still being typed in the spin box counts, held to 1-99.
    ui->RzSpinEdit1->interpretText();
    return Entry{ui->RzDateTimePicker1->date().toString(date_format), QString::number(ui->RzSpinEdit1->value()),
                 ui->RzComboBox1->currentText(), description};
}

void Tfrm_datehint::Button3Click()
{
    const std::optional<Entry> entry = editor_entry();
    if (!entry)
        return;
    append_row(*entry);
    ui->RzMemo1->clear();
}

void Tfrm_datehint::bt_editClick()
{
    if (!has_entries_)
        return;
    if (const std::optional<Entry> entry = editor_entry())
        write_row(current_row(), *entry);
}

// Without asking: nothing is written before "确定(&S)".
void Tfrm_datehint::bt_delClick()
{
    QTableWidget* grid = ui->RzStringGrid1;
    const QSignalBlocker still(grid);
    if (grid->rowCount() > 1) {
        grid->removeRow(current_row());
        return;
    }
    grid->clearContents();
    set_has_entries(false);
}

// One replacement: a failure leaves the stored list as it was and the
// window open with its list.
void Tfrm_datehint::Button1Click()
{
    const std::vector<daydata::Anniversary> rows = stored_rows(entries());
    if (uikit::report_errors([&] { daydata::replace_anniversaries(open_app_database(), rows); }))
        accept();
}

void Tfrm_datehint::Button2Click() { reject(); }

void show_datehint(QWidget* owner, QDate today)
{
    Tfrm_datehint window(today);
    const std::vector<Entry> unreadable = window.load();
    if (!unreadable.empty())
        uikit::message_box(owner, unreadable_message(QStringLiteral("以下纪念日的日期或提前提醒天数无法识别，"
                                                                    "已按原样列出，可修改或删除："),
                                                     unreadable));
    uikit::show_modal(window, owner);
}

}  // namespace anniversaries
