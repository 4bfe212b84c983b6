#include "options/about.h"

#include "options/homepage.h"
#include "ui_frm_about.h"
#include "uikit/modal.h"
#include "uikit/style.h"

namespace options {

namespace {
const QColor line_blue{0x86, 0xA2, 0xC8};
const QColor maroon{0x80, 0x00, 0x00};
const QColor purple{0x80, 0x00, 0x80};
}  // namespace

Tfrm_about::Tfrm_about(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frm_about>())
{
    ui->setupUi(this);
    apply_fonts_and_colours();
    connect(ui->Button1, &QPushButton::clicked, this, &Tfrm_about::Button1Click);
    make_home_page_link(ui->Label_url);
}

Tfrm_about::~Tfrm_about() = default;

void Tfrm_about::apply_fonts_and_colours()
{
    setFont(uikit::point_font("微软雅黑", 9));
    uikit::set_text_colour(this, uikit::colour::window_text);
    ui->Shape1->setBrushColor(line_blue);
    ui->Shape1->setPenColor(line_blue);
    ui->Label4->setFont(uikit::pixel_font("方正兰亭超细黑简体", 29, QFont::Bold));
    uikit::set_text_colour(ui->Label4, maroon);
    uikit::set_text_colour(ui->Label5, uikit::colour::green);
    uikit::set_text_colour(ui->Label_url, purple);
}

void Tfrm_about::Button1Click() { accept(); }

void show_about(QWidget* owner)
{
    Tfrm_about window(owner);
    uikit::show_modal(window, owner);
}

}  // namespace options
