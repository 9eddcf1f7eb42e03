// Start-up, close and the information pane.

#include <sys/stat.h>

#include <cstdlib>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolButton>
#include <chrono>

#include "serial/comm_component.h"
#include "station/data/chip_memory_map.h"
#include "station/data/close_log.h"
#include "station/data/info_lines.h"
#include "station/link/firmware_file.h"
#include "station/window/dialogs.h"
#include "station/window/error_handler.h"
#include "station/window/main_form.h"
#include "station/window/program_folder.h"
#include "station/window/radio_group.h"

namespace zek {
namespace {

// Every port at once; a full packet takes 67 ms on the line.
constexpr std::chrono::milliseconds kCloseSendingLimit{1000};

bool PathExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// A program started in a way that names no folder it can be found in
// lies where the system says its file is.
std::string FolderOf(const std::string& program_path) {
  const std::string folder = ProgramFolder(program_path, std::getenv("PATH"));
  if (!folder.empty()) return folder;
  QString own = QCoreApplication::applicationDirPath();
  if (!own.endsWith('/')) own += '/';
  return own.toStdString();
}

void SetTabVisible(QTabWidget* tabs, QWidget* page, bool visible) {
  tabs->setTabVisible(tabs->indexOf(page), visible);
}

}  // namespace

void TProgramZEKFrm::FormShow() {
  // A run the command line drives has nobody to answer a box, from the
  // first one on (the firmware file's comes before the command line is
  // read).
  if (!options_.Arguments.empty()) st_.Views.Boxes = line_boxes_.get();
  st_.AppDir = FolderOf(options_.ProgramPath);
  SetUpHexGrids();
  if (!PathExists(st_.AppDir + "Log")) ::mkdir((st_.AppDir + "Log").c_str(), 0777);
  SetTabVisible(ViewPageCtrl, TabSheetEep, false);
  st_.SharedInfoMemo = memo_.get();

  st_.FamilyCode = 0x45;
  st_.OnLineCounter = 0;
  ProgrammerSettings& s = st_.Settings;
  s.CtrlFlags = s.CtrlFlags2 = s.CtrlFlags3 = s.CtrlFlags4 = s.CtrlFlags5 = s.CtrlFlags6 = 0;
  st_.DevicesFound = 0;
  s.ChipInTime = 17;
  s.ChipOutTime = 17;
  s.PowerOnTime = 10;
  s.SettingByte51 = 10;
  s.OkNgDelay = 70;
  s.SNFlags = 0;
  s.AutoDetectFlags = 7;
  s.SclkSetting = 0;
  ResetBuffers(st_);

  for (QWidget* w : std::initializer_list<QWidget*>{LabelBS, LabelBE, EditAdrBS, EditAdrBE, RadioGroupCS})
    w->setVisible(false);
  SetTabVisible(ViewPageCtrl, TabSheetRdMF, false);
  SetTabVisible(ViewPageCtrl, TabSheetRdEEP, false);
  SetWindowTexts();
  SetCfgInfoLines({tx_.S(Tx::SetupTitle), tx_.S(Tx::SetupNoNumberControl), tx_.S(Tx::SetupSNDisabled),
                   tx_.S(Tx::SetupAutoDetectOn), tx_.S(Tx::SetupEnableBeeper), tx_.S(Tx::SetupPowerOnTime100ms)});

  std::array<CommPort*, kPortSlots> ports{};
  std::array<GaugeView*, kPortSlots> gauges{};
  for (int slot = 0; slot < kPortSlots; ++slot) {
    ports[slot] = comms_[slot].get();
    gauges[slot] = gauges_[slot].get();
  }
  InitPortTables(st_, ports, gauges);
  AddInfoLine(st_.TimeSource->ShortDate() + "  Hello DorvikLumo-ZEK User! ");
  ViewPageCtrl->setCurrentWidget(TabSheetChip);
  FirmWareGradeX->setVisible(true);

  const std::string firmware = st_.AppDir + kFirmwareFileName;
  if (PathExists(firmware)) {
    LoadFirmwareFile(st_, firmware);
  } else {
    st_.FirmwareOK = 0;
    AddInfoLine("File of \"" + firmware + "\" not Found!");
    st_.Views.Boxes->Plain(tx_.S(Tx::FileMissingPrefix) + firmware + tx_.S(Tx::FileMissingSuffix));
  }

  // A port that cannot be opened is reported, and start-up still reads the
  // command line and waits for the units that did answer.
  RunGuarded([this] {
    BitBtnFreshClick();
    BitBtnFindCOMClick();
  });
  ReadCommandLine();
  Timer2->start();
}

void TProgramZEKFrm::SetWindowTexts() {
  for (int i = 0; i < static_cast<int>(Tx::Count); ++i) {
    const Tx id = static_cast<Tx>(i);
    if (KindOf(id) != TxKind::Main) continue;
    const QString name = QString::fromUtf8(NameOf(id).data(), static_cast<int>(NameOf(id).size()));
    const QString text = QString::fromUtf8(tx_[id]);
    if (auto* menu = findChild<QMenu*>(name)) {
      menu->setTitle(text);
    } else if (auto* action = findChild<QAction*>(name)) {
      action->setText(text);
    } else if (auto* button = findChild<QAbstractButton*>(name)) {
      button->setText(text);
    } else if (auto* label = findChild<QLabel*>(name)) {
      label->setText(text);
    } else if (auto* group = findChild<QGroupBox*>(name)) {
      group->setTitle(text);
    }
  }
}

void TProgramZEKFrm::ReadCommandLine() {
  const std::vector<std::string>& args = options_.Arguments;
  if (args.empty()) {
    st_.CmdLineProject = 0;
    return;
  }
  st_.DownloadsDone = 0;
  st_.CmdLineProject = 1;
  st_.AutoExit = 0;
  st_.CmdLineProjectPath = args[0];
  if (args.size() >= 2 && QString::fromStdString(args[1]).toUpper() == "OFF") st_.AutoExit = 1;
}

void TProgramZEKFrm::AddInfoLine(const std::string& message) { zek::AddInfoLine(st_, message); }

void TProgramZEKFrm::ArrangeGauges() {
  const int count = st_.PortSlotCount;
  const int shown = count <= 1 ? 1 : std::min(kPortSlots, (count + 1) / 2 * 2);
  const int first_top = 480 - 20 * (shown - 1);
  for (int i = 0; i < kPortSlots; ++i) {
    Gauges[i]->move(360, first_top + 20 * i);
    Gauges[i]->setVisible(i < shown);
  }
  InfoMemo->setGeometry(360, 38, 596, first_top - 5 - 38);
}

// What the ports were given still goes out first: a download's last
// command, the reset into stand-alone mode, is often still queued when a
// command-line run closes the station.
void TProgramZEKFrm::ClosePorts() {
  const auto deadline = std::chrono::steady_clock::now() + kCloseSendingLimit;
  for (auto& comm : comms_) comm->FinishSending(deadline);
  for (auto& comm : comms_)
    if (comm->IsOpen()) comm->ClosePort();
}

void TProgramZEKFrm::SpdBtnExitClick() {
  ClosePorts();
  close();
}

void TProgramZEKFrm::StopFromOutside() {
  st_.Views.Boxes = line_boxes_.get();
  while (QWidget* modal = QApplication::activeModalWidget())
    if (!modal->close()) break;
  SpdBtnExitClick();
}

void TProgramZEKFrm::FormClose() {
  ClosePorts();
  memo_->AppendLine(tx_.S(Tx::CloseSetupLine));
  for (const std::string& line : CfgInfoLines()) memo_->AppendLine(line);
  if (dialogs_.LogCfgForm != nullptr) WriteCloseLog();
  closed_ = true;
}

void TProgramZEKFrm::WriteCloseLog() {
  LogFileChoice choice;
  choice.Enabled = dialogs_.LogCfgForm->LogEnabled();
  choice.NameAuto = dialogs_.LogCfgForm->LogNameAuto();
  choice.Mode = static_cast<LogFileMode>(dialogs_.LogCfgForm->LogMode());
  choice.FileName = dialogs_.LogCfgForm->GetLogFileName();
  WriteCloseLogFile(st_, choice, memo_->Lines());
}

void TProgramZEKFrm::ClearInformation1Click() { memo_->Clear(); }

void TProgramZEKFrm::COnfigLogFile1Click() {
  if (dialogs_.LogCfgForm != nullptr) runner_->Run(*dialogs_.LogCfgForm);
}

void TProgramZEKFrm::BitBtn2XClick() {
  if (!IdleGuard()) return;
  if (dialogs_.ConfigSNForm != nullptr) runner_->Run(*dialogs_.ConfigSNForm);
}

void TProgramZEKFrm::BitBtn1XClick() {
  if (!IdleGuard()) return;
  if (dialogs_.KelpraCfgForm != nullptr) runner_->Run(*dialogs_.KelpraCfgForm);
}

void TProgramZEKFrm::About1Click() {
  if (dialogs_.AboutForm != nullptr) runner_->Run(*dialogs_.AboutForm);
}

}  // namespace zek
