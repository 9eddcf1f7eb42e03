#include "station/window/window_services.h"

#include <QDialog>
#include <QFileDialog>
#include <QStringList>

namespace zek {
namespace {

class ModalRunner : public DialogRunner {
 public:
  int Run(QDialog& dialog) override { return dialog.exec(); }
};

// "Name (*.ext)|*.ext|Other|*.x" -> the pattern lists "*.ext", "*.x".
QStringList FilterPatterns(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList patterns;
  for (int i = 1; i < parts.size(); i += 2) patterns << parts[i];
  return patterns;
}

// "Name (*.ext)|*.ext|Other|*.x" -> Qt's "Name (*.ext);;Other (*.x)".
QStringList QtFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    filters << parts[i] + " (" + patterns + ")";
  }
  return filters;
}

// The suffix a saved name typed without one gets: the default extension
// when the chosen filter lists it (or names no extension of its own),
// else the filter's first extension as the filter spells it.
QString SuffixForFilter(const QString& patterns, const QString& default_ext) {
  QString first;
  for (QString pattern : patterns.split(';')) {
    if (!pattern.startsWith("*.")) continue;
    pattern.remove(0, 2);
    if (pattern.compare(default_ext, Qt::CaseInsensitive) == 0) return default_ext;
    if (first.isEmpty() && !pattern.contains('*') && !pattern.contains('?')) first = pattern;
  }
  return first.isEmpty() ? default_ext : first;
}

class DesktopDialogs : public FileDialogs {
 public:
  explicit DesktopDialogs(QWidget* parent) : parent_(parent) {}
  std::optional<FileDialogAnswer> Open(const FileDialogSpec& spec) override { return Ask(spec, false); }
  std::optional<FileDialogAnswer> Save(const FileDialogSpec& spec) override { return Ask(spec, true); }

 private:
  std::optional<FileDialogAnswer> Ask(const FileDialogSpec& spec, bool save) {
    QFileDialog dialog(parent_, QString::fromStdString(spec.Title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtFilters(spec.Filter);
    dialog.setNameFilters(filters);
    if (spec.FilterIndex >= 1 && spec.FilterIndex <= filters.size()) dialog.selectNameFilter(filters[spec.FilterIndex - 1]);
    // "*.Hex;*.S1*;*.Bin" proposes its first extension.
    QString ext = QString::fromStdString(spec.DefaultExt).section(';', 0, 0);
    ext.remove("*.");
    if (ext.contains('*')) ext.clear();
    if (!ext.isEmpty()) dialog.setDefaultSuffix(ext);
    if (save) {
      const QStringList patterns = FilterPatterns(spec.Filter);
      auto follow = [&dialog, filters, patterns, ext](const QString& chosen) {
        const qsizetype at = filters.indexOf(chosen);
        if (at >= 0 && at < patterns.size()) dialog.setDefaultSuffix(SuffixForFilter(patterns[at], ext));
      };
      QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
      follow(dialog.selectedNameFilter());
    }
    if (!spec.FileName.empty()) dialog.selectFile(QString::fromStdString(spec.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileDialogAnswer answer;
    answer.Path = dialog.selectedFiles().front().toStdString();
    answer.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (answer.FilterIndex < 1) answer.FilterIndex = 1;
    return answer;
  }
  QWidget* parent_;
};

}  // namespace

DialogRunner& ModalDialogRunner() {
  static ModalRunner runner;
  return runner;
}

std::unique_ptr<FileDialogs> MakeDesktopFileDialogs(QWidget* parent) {
  return std::make_unique<DesktopDialogs>(parent);
}

}  // namespace zek
