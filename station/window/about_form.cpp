#include "station/window/about_form.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "station/window/main_form.h"
#include "station/window/named_widget.h"

namespace zek {
namespace {

void DrawPins(QPainter& p, const QRectF& body, int pins, qreal length) {
  const qreal pitch = body.width() / pins;
  const qreal width = pitch * 0.45;
  for (int i = 0; i < pins; ++i) {
    const qreal offset = pitch * (i + 0.5) - width / 2;
    p.drawRect(QRectF(body.left() + offset, body.top() - length, width, length));
    p.drawRect(QRectF(body.left() + offset, body.bottom(), width, length));
    p.drawRect(QRectF(body.left() - length, body.top() + offset, length, width));
    p.drawRect(QRectF(body.right(), body.top() + offset, length, width));
  }
}

}  // namespace

QPixmap AboutPicture(int size) {
  QPixmap picture(size, size);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 100.0, size / 100.0);

  const QRectF body(20, 20, 60, 60);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xB0, 0xB4, 0xBA));
  DrawPins(p, body, 6, 12);
  p.setBrush(QColor(0x2B, 0x3A, 0x4F));
  p.drawRoundedRect(body, 6, 6);
  p.setBrush(QColor(0x46, 0x5A, 0x75));
  p.drawEllipse(QPointF(29, 29), 3, 3);

  QPainterPath bolt;
  bolt.moveTo(55, 26);
  bolt.lineTo(37, 53);
  bolt.lineTo(49, 53);
  bolt.lineTo(44, 74);
  bolt.lineTo(64, 45);
  bolt.lineTo(52, 45);
  bolt.closeSubpath();
  p.setBrush(QColor(0xFF, 0xC1, 0x2E));
  p.setPen(QPen(QColor(0xE0, 0x8A, 0x00), 1.5));
  p.drawPath(bolt);
  return picture;
}

TAboutForm::TAboutForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts)
    : QDialog(&main), main_(main), st_(st), tx_(texts) {
  setObjectName("AboutForm");
  setWindowTitle("About");

  Label1 = Named(new QLabel("Dorvik410ZEK Flash MCU Programmer", this), "Label1");
  QFont product = Label1->font();
  product.setBold(true);
  product.setPointSizeF(product.pointSizeF() * 1.25);
  Label1->setFont(product);
  Label2 = Named(new QLabel(tx_[Tx::AboutVersion], this), "Label2");
  Label3 = Named(new QLabel(tx_[Tx::AboutDate], this), "Label3");
  Image1 = Named(new QLabel(this), "Image1");
  Image1->setFixedSize(96, 96);
  Image1->setScaledContents(true);
  Image1->setAttribute(Qt::WA_TranslucentBackground);
  Image1->setPixmap(AboutPicture(192));
  BitBtn1 = Named(new QPushButton("OK", this), "BitBtn1");
  BitBtn1->setDefault(true);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(20, 16, 16, 16);
  grid->setHorizontalSpacing(24);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(Label2, 1, 0);
  grid->addWidget(Label3, 2, 0);
  grid->addWidget(Image1, 0, 1, 3, 1, Qt::AlignRight | Qt::AlignTop);
  grid->setRowMinimumHeight(3, 12);
  grid->setRowStretch(3, 1);
  grid->addWidget(BitBtn1, 4, 0, 1, 2, Qt::AlignHCenter);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the desktop, not on the main window.
  if (const QScreen* desktop = screen() != nullptr ? screen() : QGuiApplication::primaryScreen())
    move(desktop->availableGeometry().center() - rect().center());
}

}  // namespace zek
