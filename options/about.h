// The about window frm_about: the product's name and version and the link
// to its home page.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frm_about;
}

namespace options {

class Tfrm_about : public QDialog {
    Q_OBJECT

public:
    explicit Tfrm_about(QWidget* parent = nullptr);
    ~Tfrm_about() override;

private slots:
    void Button1Click();

private:
    void apply_fonts_and_colours();

    std::unique_ptr<Ui::frm_about> ui;
};

// Creates a new about window, shows it modally over `owner` and discards it
// when it closes.
void show_about(QWidget* owner);

}  // namespace options
