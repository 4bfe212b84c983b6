#include "tasks/taskchangedialog.h"

#include "ui_frm_taskchange.h"
#include "uikit/modal.h"
#include "uikit/style.h"

namespace tasks {

TaskChangeDialog::TaskChangeDialog(QDate date, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frm_taskchange>())
{
    ui->setupUi(this);
    setFixedSize(265, 191);
    setFont(uikit::program_font());
    uikit::set_text_colour(this, uikit::colour::window_text);
    ui->RzDateTimePicker1->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    ui->RzDateTimePicker1->setDate(date);
    connect(ui->Button1, &QPushButton::clicked, this, &TaskChangeDialog::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TaskChangeDialog::Button2Click);
}

TaskChangeDialog::~TaskChangeDialog() = default;

TaskChange TaskChangeDialog::choice() const
{
    return {ui->RzDateTimePicker1->date(), ui->cb_del->isChecked(), ui->cb_changebz->isChecked()};
}

// A date typed but not yet taken counts; the editor takes only real dates.
void TaskChangeDialog::Button1Click()
{
    ui->RzDateTimePicker1->interpretText();
    accept();
}

void TaskChangeDialog::Button2Click() { reject(); }

std::optional<TaskChange> show_taskchange(QDate date, QWidget* owner)
{
    TaskChangeDialog dialog(date, owner);
    if (uikit::show_modal(dialog, owner) != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

}  // namespace tasks
