#pragma once
// Paints the cells of a hex grid: plain text on the cell's background, the
// selection highlighted, without the style's per-cell layout work, so a
// page of 500 cells paints in a fraction of a frame.

#include <QStaticText>
#include <QStyledItemDelegate>
#include <array>

namespace zek {

class HexGridDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  // The 256 byte texts, laid out once for the grid's font.
  const QStaticText& ByteText(const QString& text, const QFont& font) const;
  mutable std::array<QStaticText, 256> bytes_;
  mutable QFont bytes_font_;
  mutable bool bytes_ready_ = false;
};

}  // namespace zek
