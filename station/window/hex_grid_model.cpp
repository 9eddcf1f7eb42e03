#include "station/window/hex_grid_model.h"

#include <algorithm>

namespace zek {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

}  // namespace

HexGridModel::HexGridModel(std::span<const uint8_t> buffer, QObject* parent)
    : QAbstractTableModel(parent), buffer_(buffer) {}

void HexGridModel::Show(uint32_t address, uint32_t first, uint32_t rows) {
  beginResetModel();
  address_ = address;
  first_ = first;
  rows_ = static_cast<int>(std::min<uint32_t>(rows, (buffer_.size() + kRowBytes - 1) / kRowBytes));
  typed_.clear();
  endResetModel();
}

void HexGridModel::BufferChanged() {
  if (rows_ > 0) emit dataChanged(index(0, 1), index(rows_ - 1, kTextColumn), {Qt::DisplayRole});
}

void HexGridModel::SetTypedText(int row, int column, const QString& text) {
  if (row < 0 || row >= rows_ || column < 1 || column > 16) return;
  typed_[{row, column}] = text;
  emit dataChanged(index(row, column), index(row, kTextColumn), {Qt::DisplayRole});
}

QString HexGridModel::ByteText(uint64_t index) const {
  if (index >= buffer_.size()) return QString();
  const uint8_t b = buffer_[index];
  const QChar text[2] = {QChar(kDigits[b >> 4]), QChar(kDigits[b & 15])};
  return QString(text, 2);
}

QString HexGridModel::RowText(int row) const {
  QChar text[kRowBytes];
  const uint64_t base = first_ + uint64_t{kRowBytes} * static_cast<uint64_t>(row);
  int n = 0;
  for (uint64_t i = base; i < base + kRowBytes && i < buffer_.size(); ++i) {
    const uint8_t b = buffer_[i];
    text[n++] = (b >= 0x20 && b <= 0x7F) ? QChar(char16_t{b}) : QChar('.');
  }
  return QString(text, n);
}

QString HexGridModel::CellText(int row, int column) const {
  if (row < 0 || row >= rows_ || column < 0 || column >= kColumns) return QString();
  if (column == 0) return QString::asprintf("0x%08X", AddressOf(row));
  if (column == kTextColumn) return RowText(row);
  if (auto typed = typed_.find({row, column}); typed != typed_.end()) return typed->second;
  return ByteText(first_ + uint64_t{kRowBytes} * static_cast<uint64_t>(row) + static_cast<uint64_t>(column - 1));
}

int HexGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int HexGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant HexGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return QVariant();
  return CellText(index.row(), index.column());
}

QVariant HexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
  if (section < 1 || section > 16) return QString();
  return QString("  ") + QChar(kDigits[section - 1]);
}

}  // namespace zek
