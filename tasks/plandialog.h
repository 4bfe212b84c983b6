// The task editor frm_plan: one task's state, category and text, handed
// over as a plan string (see taskrow.h).  It never touches the data file.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QButtonGroup;
class QWidget;
namespace Ui {
class frm_plan;
}

namespace tasks {

class PlanDialog : public QDialog {
    Q_OBJECT

public:
    // An empty `plan` asks for a new task; otherwise the dialog shows the
    // task it stands for.  `plan` comes trimmed.
    explicit PlanDialog(const QString& plan, QWidget* parent = nullptr);
    ~PlanDialog() override;

    // The plan string the dialog ends with: the edited task after "确定(&S)",
    // empty after "取消", the plan it opened with after the close box.
    const QString& result_plan() const { return result_; }

private slots:
    void Button1Click();
    void Button2Click();

private:
    void show_plan_string(const QString& plan);

    std::unique_ptr<Ui::frm_plan> ui;
    QButtonGroup* states = nullptr;  // RadioGroup2
    QButtonGroup* categories = nullptr;  // RadioGroup1
    QString result_;
};

// Shows the editor modally over `owner` and returns its plan string; a
// blank result means nothing is to change.
QString show_plan(const QString& initial, QWidget* owner);

}  // namespace tasks
