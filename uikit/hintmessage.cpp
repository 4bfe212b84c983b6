#include "uikit/hintmessage.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>

#include "ui_HintMessage.h"
#include "uikit/style.h"

namespace uikit {

void EngravedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    const int flags = static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    painter.setFont(font());
    painter.setPen(Qt::white);
    painter.drawText(area.translated(1, 1), flags, text());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, flags, text());
}

HintMessage::HintMessage(const QString& object_name, const QString& caption, const QString& text)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::HintMessage>())
{
    ui->setupUi(this);
    setObjectName(object_name);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(program_font());
    setFixedSize(422, 212);
    ui->RzLabel1->setFont(pixel_font("黑体", 29));
    set_text_colour(ui->RzLabel1, colour::red);
    ui->RzLabel1->setText(text);
    connect(ui->Button1, &QPushButton::clicked, this, &QWidget::close);
}

HintMessage::~HintMessage() = default;

void HintMessage::show_centred()
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
}

void HintMessage::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

}  // namespace uikit
