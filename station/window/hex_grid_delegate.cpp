#include "station/window/hex_grid_delegate.h"

#include <QPainter>
#include <QStyle>

namespace zek {
namespace {

constexpr int kMargin = 3;

// The value of a two-digit upper-case hex text, or -1.
int ByteValue(const QString& text) {
  if (text.size() != 2) return -1;
  int value = 0;
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') {
      value = value * 16 + (u - '0');
    } else if (u >= 'A' && u <= 'F') {
      value = value * 16 + (u - 'A' + 10);
    } else {
      return -1;
    }
  }
  return value;
}

}  // namespace

const QStaticText& HexGridDelegate::ByteText(const QString& text, const QFont& font) const {
  if (!bytes_ready_ || font != bytes_font_) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
      const QChar digits[2] = {QChar(char16_t(kDigits[b >> 4])), QChar(char16_t(kDigits[b & 15]))};
      bytes_[b] = QStaticText(QString(digits, 2));
      bytes_[b].setTextFormat(Qt::PlainText);
      bytes_[b].prepare(QTransform(), font);
    }
    bytes_font_ = font;
    bytes_ready_ = true;
  }
  return bytes_[ByteValue(text)];
}

void HexGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QString text = index.data(Qt::DisplayRole).toString();
  const bool selected = option.state & QStyle::State_Selected;
  const QPalette::ColorGroup group = (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
  if (selected) painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
  painter->save();
  painter->setFont(option.font);
  painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  const QRect area = option.rect.adjusted(kMargin, 0, -kMargin, 0);
  painter->setClipRect(option.rect);
  if (ByteValue(text) >= 0) {
    const QStaticText& shown = ByteText(text, option.font);
    const int top = area.top() + (area.height() - static_cast<int>(shown.size().height())) / 2;
    painter->drawStaticText(area.left(), top, shown);
  } else {
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
  }
  if (option.state & QStyle::State_HasFocus) {
    painter->setPen(option.palette.color(group, QPalette::Highlight));
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
  }
  painter->restore();
}

}  // namespace zek
