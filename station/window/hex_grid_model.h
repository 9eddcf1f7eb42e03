#pragma once
// One hex grid over an image: 18 columns (the row address, 16 bytes, the
// same bytes as text) and as many rows as the grid is told to show. Cell
// texts are made from the buffer when the view asks for them, so a 2 MiB
// image costs nothing until rows are painted, and nothing is copied.

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <map>
#include <span>
#include <utility>

namespace zek {

class HexGridModel : public QAbstractTableModel {
 public:
  static constexpr int kColumns = 18;
  static constexpr int kTextColumn = 17;

  HexGridModel(std::span<const uint8_t> buffer, QObject* parent);

  // Shows `rows` rows; row r holds buffer[first + 16 r ..] and is labelled
  // address + 16 r. Cells typed in before are forgotten.
  void Show(uint32_t address, uint32_t first, uint32_t rows);
  // The shown bytes changed in place: the view repaints what it shows.
  void BufferChanged();
  // A byte cell shows `text` instead of its byte until the next Show.
  void SetTypedText(int row, int column, const QString& text);

  // The cell's text as the grid shows it.
  QString CellText(int row, int column) const;
  uint32_t AddressOf(int row) const { return address_ + kRowBytes * static_cast<uint32_t>(row); }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  static constexpr uint32_t kRowBytes = 16;
  QString ByteText(uint64_t index) const;
  QString RowText(int row) const;

  std::span<const uint8_t> buffer_;
  uint32_t address_ = 0;
  uint32_t first_ = 0;
  int rows_ = 0;
  std::map<std::pair<int, int>, QString> typed_;
};

}  // namespace zek
