// The Chinese edition leaves no English-only text on any window once the
// show handlers ran, and every caption row lands on its control.

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <set>

#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

// The texts an edition shows on a window: captions, items, tool tips,
// titles and the lines of the read-only text boxes.
std::vector<std::pair<std::string, std::string>> ShownTexts(QObject& root) {
  std::vector<std::pair<std::string, std::string>> texts;
  auto add = [&](const QObject* o, const QString& t) {
    if (!t.isEmpty()) texts.emplace_back(o->objectName().toStdString(), t.toStdString());
  };
  QList<QObject*> objects = root.findChildren<QObject*>();
  objects.push_front(&root);
  for (QObject* o : objects) {
    if (auto* w = qobject_cast<QWidget*>(o)) {
      add(w, w->toolTip());
      if (w->isWindow()) add(w, w->windowTitle());
    }
    if (auto* b = qobject_cast<QAbstractButton*>(o)) add(b, b->text());
    if (auto* l = qobject_cast<QLabel*>(o)) add(l, l->text());
    if (auto* g = qobject_cast<QGroupBox*>(o)) add(g, g->title());
    if (auto* m = qobject_cast<QMenu*>(o)) add(m, m->title());
    if (auto* a = qobject_cast<QAction*>(o)) add(a, a->text());
    if (auto* c = qobject_cast<QComboBox*>(o)) {
      for (int i = 0; i < c->count(); ++i) add(c, c->itemText(i));
    }
    if (auto* p = qobject_cast<QPlainTextEdit*>(o)) {
      for (const QString& line : p->toPlainText().split('\n')) add(p, line);
    }
  }
  return texts;
}

class EditionTextsTest : public WindowTest {
 protected:
  // Starts the edition and runs every dialog's show handler once.
  void StartAndShowAll(const EditionTexts& texts) {
    Start({}, &texts);
    form().COnfigLogFile1Click();
    form().BitBtn2XClick();
    form().BitBtn1XClick();
    form().About1Click();
    dialogs.script = nullptr;
    form().Memo().Flush();
  }
};

TEST_F(EditionTextsTest, ChineseEditionLeavesNoEnglishOnlyText) {
  std::set<std::string> english_only;
  for (int i = 0; i < static_cast<int>(Tx::Count); ++i) {
    const Tx id = static_cast<Tx>(i);
    if (std::string(EnglishEdition()[id]) != ChineseEdition()[id]) english_only.insert(EnglishEdition()[id]);
  }
  StartAndShowAll(ChineseEdition());
  for (const auto& [name, text] : ShownTexts(form())) {
    EXPECT_EQ(english_only.count(text), 0u) << name << " still shows \"" << text << "\"";
  }
}

TEST_F(EditionTextsTest, CaptionRowsReachTheirControlsInBothEditions) {
  for (const EditionTexts* texts : {&EnglishEdition(), &ChineseEdition()}) {
    StartAndShowAll(*texts);
    const auto shown = ShownTexts(form());
    for (int i = 0; i < static_cast<int>(Tx::Count); ++i) {
      const Tx id = static_cast<Tx>(i);
      if (KindOf(id) == TxKind::Text) continue;
      const std::string name(NameOf(id));
      bool found = false;
      for (const auto& [object, text] : shown) found = found || (object == name && text == (*texts)[id]);
      EXPECT_TRUE(found) << texts->Edition << ": " << name << " lacks \"" << (*texts)[id] << "\"";
    }
    program.reset();
  }
}

}  // namespace
}  // namespace zek::testing
