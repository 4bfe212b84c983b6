#include "tasks/plandialog.h"

#include <QButtonGroup>

#include "tasks/radiogroup.h"
#include "tasks/taskrow.h"
#include "ui_frm_plan.h"
#include "uikit/messagebox.h"
#include "uikit/modal.h"
#include "uikit/style.h"

namespace tasks {

namespace {

// The lines of the text run together: line breaks are dropped, nothing is
// trimmed.
QString joined_lines(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    text.remove(QChar::LineSeparator);
    text.remove(QChar::ParagraphSeparator);
    return text;
}

}  // namespace

PlanDialog::PlanDialog(const QString& plan, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frm_plan>()), result_(plan)
{
    ui->setupUi(this);
    setFixedSize(325, 315);
    setFont(uikit::program_font());
    uikit::set_text_colour(this, uikit::colour::window_text);
    uikit::set_base_colour(ui->Memo1, Qt::white);
    states = radio_group(this, {ui->RadioGroup2_0, ui->RadioGroup2_1});
    categories = radio_group(this, {ui->RadioGroup1_0, ui->RadioGroup1_1, ui->RadioGroup1_2, ui->RadioGroup1_3});
    connect(ui->Button1, &QPushButton::clicked, this, &PlanDialog::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &PlanDialog::Button2Click);
    if (plan.isEmpty())
        setWindowTitle(QStringLiteral("新建任务"));
    else
        show_plan_string(plan);
    ui->Memo1->setFocus();
}

PlanDialog::~PlanDialog() = default;

// A digit the editor does not offer leaves its choice at the first item.
void PlanDialog::show_plan_string(const QString& plan)
{
    setWindowTitle(QStringLiteral("编辑任务"));
    if (QAbstractButton* category = categories->button(plan[0].digitValue()))
        category->setChecked(true);
    if (QAbstractButton* state = plan.size() > 1 ? states->button(plan[1].digitValue()) : nullptr)
        state->setChecked(true);
    ui->Memo1->setPlainText(plan.mid(2));
}

void PlanDialog::Button1Click()
{
    const QString text = ui->Memo1->toPlainText();
    if (is_blank(text)) {
        uikit::message_box(this, QStringLiteral("计划安排不能为空！"));
        return;
    }
    result_ = QString::number(categories->checkedId()) + QString::number(states->checkedId()) + joined_lines(text);
    accept();
}

void PlanDialog::Button2Click()
{
    result_.clear();
    reject();
}

QString show_plan(const QString& initial, QWidget* owner)
{
    PlanDialog dialog(trim_blanks(initial), owner);
    uikit::show_modal(dialog, owner);
    return dialog.result_plan();
}

}  // namespace tasks
