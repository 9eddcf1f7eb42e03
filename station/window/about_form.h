#pragma once
// The About box: product, version and release date of the edition.

#include <QDialog>
#include <string>

#include "station/data/station_state.h"
#include "station/window/edition_texts.h"

class QLabel;
class QPixmap;
class QPushButton;

namespace zek {

class TProgramZEKFrm;

class TAboutForm : public QDialog {
 public:
  TAboutForm(TProgramZEKFrm& main, StationState& st, const EditionTexts& texts);

  QLabel *Label1, *Label2, *Label3;
  QLabel* Image1;
  QPushButton* BitBtn1;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TProgramZEKFrm& main_;
  StationState& st_;
  const EditionTexts& tx_;
};

// The box's picture, drawn here: a programmer's chip with a flash bolt, on
// a transparent ground.
QPixmap AboutPicture(int size);

}  // namespace zek
