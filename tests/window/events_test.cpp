// What reaches the window from outside its handlers' own calls: errors
// escaping a handler, port hang-ups, and the keys the window previews.

#include <QApplication>
#include <QCoreApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

#include "serial/comm_component.h"
#include "station/data/port_list_model.h"
#include "tests/serial/pty_support.h"
#include "tests/window/window_events.h"
#include "tests/window/window_fixture.h"

namespace zek::testing {
namespace {

// A view that fails the first time it is asked, the way a handler's own
// work can fail half way.
class FailingOncePages : public PageControlView {
 public:
  void ShowFirstTab() override {
    if (!failed_) {
      failed_ = true;
      throw std::runtime_error("page control failed");
    }
  }

 private:
  bool failed_ = false;
};

class FailingPortList : public PortListModel {
 public:
  void DeleteItem(int) override { throw std::runtime_error("list refused the delete"); }
};

class ThrowingObject : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("escaped the handler");
    return QObject::event(e);
  }
};

// A slot's serial component open on a pseudo-terminal that $ZEK_COM_DIR
// names, the way a unit's USB port is.
struct PtyPort {
  PtyPort(TComm& comm, const std::string& name) {
    links.Link(name, pty.slave_path());
    comm.SetCommName(name);
    comm.OpenPort();
  }
  ComLinkFolder links;
  PtyPair pty;
};

using ErrorHandlerTest = WindowTest;

TEST_F(ErrorHandlerTest, ButtonHandlerErrorIsShownAndTheProgramGoesOn) {
  Start();
  boxes.shown.clear();
  dialogs.script = [](QDialog&) { throw std::runtime_error("settings dialog failed"); };
  form().BitBtn1X->click();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"settings dialog failed"});
  dialogs.script = nullptr;
  form().BitBtn1X->click();
  EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"KelpraCfgForm", "KelpraCfgForm"}));
  EXPECT_EQ(BoxTexts().size(), 1u);
}

TEST_F(ErrorHandlerTest, TimerHandlerErrorIsShownAndTheTimerGoesOn) {
  Start();
  boxes.shown.clear();
  FailingOncePages failing;
  PageControlView* pages = st().Views.ViewPageCtrl;
  st().Views.ViewPageCtrl = &failing;
  for (int slot : {0, 1}) st().PortBusy[slot] = 1;
  st().PortTimeout[0] = 1;
  st().PortTimeout[1] = 3;
  form().Timer1->start(1);
  // Slot 0's time-out fails its tick half way; later ticks end slot 1's.
  ASSERT_TRUE(RunEventsUntil([&] { return st().PortBusy[1] == 0; }));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"page control failed"});
  EXPECT_TRUE(form().Timer1->isActive());
  form().Timer1->stop();
  st().Views.ViewPageCtrl = pages;
}

TEST_F(ErrorHandlerTest, PortEventErrorIsShownAndTheNextEventIsHandled) {
  Start();
  boxes.shown.clear();
  FailingPortList failing;
  failing.AddItem("COM1");
  st().Views.ComboBoxCOM = &failing;
  TComm& comm = form().CommOf(3);
  PtyPort port(comm, "COM1");
  st().PortConnected[3] = 1;
  comm.OnRequestHangup(&comm);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"list refused the delete"});
  EXPECT_EQ(st().PortConnected[3], 0);
  st().Views.ComboBoxCOM = &form().PortList();
  const uint8_t chunk[] = {0x01, 0x02};
  comm.OnReceiveData(&comm, chunk, 2);
  EXPECT_EQ(st().PortTimeout[3], 500);
  EXPECT_EQ(st().PortRxLen[3], 2);
}

TEST_F(ErrorHandlerTest, ApplicationCatchesWhatEscapesEventDelivery) {
  Start();
  boxes.shown.clear();
  ThrowingObject target;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QApplication::sendEvent(&target, &event));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"escaped the handler"});
}

using HangupTest = WindowTest;

// The adapter of slot 3 is pulled: its own port leaves the list, the
// healthy ones stay, and the log names it once, though both of the
// port's threads ask for the hang-up.
TEST_F(HangupTest, APulledAdapterTakesItsOwnPortOffTheList) {
  Start();
  for (const char* name : {"COM7", "COM2", "COM10"}) form().PortList().AddItem(name);
  TComm& comm = form().CommOf(2);
  PtyPort port(comm, "COM2");
  st().PortConnected[2] = 1;
  port.pty.CloseMaster();
  ASSERT_TRUE(RunEventsUntil([&] { return !comm.IsOpen(); }));
  QCoreApplication::sendPostedEvents();  // what the stopped threads posted
  EXPECT_EQ(st().PortConnected[2], 0);
  ASSERT_EQ(form().ComboBoxCOM->count(), 2);
  EXPECT_EQ(form().ComboBoxCOM->itemText(0).toStdString(), "COM10");
  EXPECT_EQ(form().ComboBoxCOM->itemText(1).toStdString(), "COM7");
  EXPECT_NE(form().ComboBoxCOM->currentText().toStdString(), "Please connect the device......");
  const std::vector<std::string> lines = MemoLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "> 10:15:02 C3: Port COM2 hung up!"), 1);
}

class KeyTest : public WindowTest {
 protected:
  KeyTest() {
    Start();
    form().show();
    boxes.shown.clear();
  }
  void Press(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
  }
  int AutoProgramRuns() const {
    int runs = 0;
    for (const ShownBox& box : boxes.shown) runs += box.text == "Please load object file!" ? 1 : 0;
    return runs;
  }
};

TEST_F(KeyTest, SpaceAndEnterRunTheKeyHandlerOncePerPress) {
  // A read-only line edit passes Enter and Space on to its parents.
  form().MCUNameEdit->setFocus();
  ASSERT_EQ(form().focusWidget(), form().MCUNameEdit);
  Press(form().MCUNameEdit, Qt::Key_Return, "\r");
  EXPECT_EQ(AutoProgramRuns(), 1);
  form().MCUNameEdit->setFocus();
  Press(form().MCUNameEdit, Qt::Key_Space, " ");
  EXPECT_EQ(AutoProgramRuns(), 2);
  form().MCUNameEdit->setFocus();
  Press(form().MCUNameEdit, Qt::Key_Enter, "\r");
  EXPECT_EQ(AutoProgramRuns(), 3);
  Press(form().focusWidget(), Qt::Key_A, "a");
  EXPECT_EQ(AutoProgramRuns(), 3);
}

}  // namespace
}  // namespace zek::testing
