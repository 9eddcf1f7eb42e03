// Widget creation: the stored layout of the main window, and the binding
// of controls, serial components and views to the handlers.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <iostream>

#include "serial/comm_component.h"
#include "serial/unit_port_scan.h"
#include "station/window/error_handler.h"
#include "station/window/main_form.h"
#include "station/window/named_widget.h"
#include "station/window/radio_group.h"

namespace zek {
namespace {

constexpr int kTopBarHeight = 64;
constexpr int kButtonWidth = 80;
constexpr int kPageTop = kTopBarHeight + 4;
constexpr int kPageWidth = 972;
constexpr int kPageHeight = 540;

QToolButton* ToolButton(QWidget* parent, const char* name, int left, const char* tip) {
  auto* b = Named(new QToolButton(parent), name);
  b->setGeometry(left, 4, kButtonWidth, kTopBarHeight - 8);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  b->setToolTip(QString::fromUtf8(tip));
  return b;
}

QAction* Item(QMenu* menu, const char* name, QKeySequence keys = {}) {
  auto* a = Named(new QAction(menu), name);
  if (!keys.isEmpty()) a->setShortcut(keys);
  menu->addAction(a);
  return a;
}

QTableView* Grid(QWidget* page, const char* name) {
  auto* grid = Named(new QTableView(page), name);
  grid->setGeometry(4, 4, kPageWidth - 14, kPageHeight - 40);
  grid->verticalHeader()->setVisible(false);
  grid->verticalHeader()->setDefaultSectionSize(18);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  return grid;
}

}  // namespace

void TProgramZEKFrm::BuildTopBar() {
  Panel1 = Named(new QFrame(centralWidget()), "Panel1");
  Panel1->setGeometry(0, 0, kPageWidth + 8, kTopBarHeight);
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setFocusPolicy(Qt::StrongFocus);
  // The tool tips are the stored layout's and read the same in both editions.
  SpdBtnExit = ToolButton(Panel1, "SpdBtnExit", 4, "Exit Application");
  SpdBtnOpen = ToolButton(Panel1, "SpdBtnOpen", 89, "加载第一个数据文件并清除缓冲");
  SpdBtnOpenMor = ToolButton(Panel1, "SpdBtnOpenMor", 174, "加载更多数据文件");
  SpdBtnDownLoad = ToolButton(Panel1, "SpdBtnDownLoad", 259, "下载所有数据和设置到编程器中以便脱机烧写");
  SpeedButtonRD = ToolButton(Panel1, "SpeedButtonRD", 344, "读取芯片数据");
  AutoSpdBtn = ToolButton(Panel1, "AutoSpdBtn", 502, "自动执行查空，擦除，编程和校验功能");
  SpdBtnBlank = ToolButton(Panel1, "SpdBtnBlank", 587, "执行芯片查空");
  SpdBtnErase = ToolButton(Panel1, "SpdBtnErase", 717, "执行芯片擦除");
  SpdBtnProg = ToolButton(Panel1, "SpdBtnProg", 802, "执行芯片数据写入");
  SpdBtnVerify = ToolButton(Panel1, "SpdBtnVerify", 888, "执行芯片数据校验");
}

void TProgramZEKFrm::BuildMenus() {
  QMenuBar* bar = menuBar();
  File1 = Named(bar->addMenu(QString()), "File1");
  LoadFile1 = Item(File1, "LoadFile1", QKeySequence(Qt::CTRL | Qt::Key_L));
  SaveFile1 = Item(File1, "SaveFile1", QKeySequence(Qt::CTRL | Qt::Key_S));
  SaveReadOutData1 = Item(File1, "SaveReadOutData1");
  File1->addSeparator();
  LoadEepData1 = Item(File1, "LoadEepData1");
  SaveEepData1 = Item(File1, "SaveEepData1");
  SaveReadOutEEP1 = Item(File1, "SaveReadOutEEP1");
  File1->addSeparator();
  LoadformProjectFile1 = Item(File1, "LoadformProjectFile1");
  SaveasProjectFile1 = Item(File1, "SaveasProjectFile1");
  File1->addSeparator();
  COnfigLogFile1 = Item(File1, "COnfigLogFile1");
  SaveCOMConfigtoFile1 = Item(File1, "SaveCOMConfigtoFile1");
  File1->addSeparator();
  Exit1 = Item(File1, "Exit1");

  Execute2 = Named(bar->addMenu(QString()), "Execute2");
  Download1 = Item(Execute2, "Download1", QKeySequence(Qt::Key_F4));
  AutoProgram1 = Item(Execute2, "AutoProgram1", QKeySequence(Qt::Key_F5));
  ChipBlankCheck1 = Item(Execute2, "ChipBlankCheck1", QKeySequence(Qt::Key_F6));
  EraseChip1 = Item(Execute2, "EraseChip1", QKeySequence(Qt::Key_F7));
  Programming1 = Item(Execute2, "Programming1", QKeySequence(Qt::Key_F8));
  VeriufyDownload1 = Item(Execute2, "VeriufyDownload1", QKeySequence(Qt::Key_F9));
  ProtectChip1 = Item(Execute2, "ProtectChip1");
  Execute2->addSeparator();
  ReadChipIDInfo1 = Item(Execute2, "ReadChipIDInfo1", QKeySequence(Qt::CTRL | Qt::Key_I));
  ReadFlash1 = Item(Execute2, "ReadFlash1", QKeySequence(Qt::CTRL | Qt::Key_R));
  ReadChipInfoMemory1 = Item(Execute2, "ReadChipInfoMemory1");
  ReadChipEepData1 = Item(Execute2, "ReadChipEepData1");
  WriteChipEepData1 = Item(Execute2, "WriteChipEepData1");
  VerifyChipEEPData1 = Item(Execute2, "VerifyChipEEPData1");
  // Never retitled at run time: the same text in both editions.
  ReadChipOption1 = Item(Execute2, "ReadChipOption1");
  ReadChipOption1->setText("Read Chip Option");
  WriteChipOption1 = Item(Execute2, "WriteChipOption1");
  WriteChipOption1->setText("Write Chip Option");
  ReadChipOption1->setVisible(false);
  WriteChipOption1->setVisible(false);
  Execute2->addSeparator();
  ResetProg1 = Item(Execute2, "ResetProg1");
  FirmWareGradeX = Item(Execute2, "FirmWareGradeX");

  Help1 = Named(bar->addMenu(QString()), "Help1");
  About1 = Item(Help1, "About1");
}

void TProgramZEKFrm::BuildChipTab() {
  QWidget* page = TabSheetChip;
  LabelCP = Named(new QLabel(page), "LabelCP");
  LabelCP->setGeometry(8, 10, 80, 22);
  MCUNameEdit = Named(new QLineEdit(page), "MCUNameEdit");
  MCUNameEdit->setGeometry(88, 8, 200, 24);
  MCUNameEdit->setReadOnly(true);
  DevButton = Named(new QPushButton("...", page), "DevButton");
  DevButton->setGeometry(292, 8, 50, 24);

  LabelSCKSEL = Named(new QLabel(page), "LabelSCKSEL");
  LabelSCKSEL->setGeometry(8, 42, 80, 22);
  ComBoxSpdCLK = Named(new QComboBox(page), "ComBoxSpdCLK");
  ComBoxSpdCLK->setGeometry(88, 40, 200, 24);
  ComBoxSpdCLK->addItems({"SCLK Clock 1 (Fast)", "SCLK Clock 2", "SCLK Clock 3", "SCLK Clock 4 (Med)",
                          "SCLK Clock 5", "SCLK Clock 6", "SCLK Clock 7", "SCLK Clock 8 (Slow)"});
  ComBoxSpdCLK->setCurrentIndex(0);

  RadioGpVolt = Named(new RadioGroup(page), "RadioGpVolt");
  RadioGpVolt->setGeometry(8, 70, 160, 70);
  RadioGpVolt->SetItems({"3.3V", "5.0V"});
  RadioGpVolt->SetItemIndex(0);
  RadioGroupCS = Named(new RadioGroup(page), "RadioGroupCS");
  RadioGroupCS->setGeometry(176, 70, 166, 70);
  RadioGroupCS->SetItems({QString::fromUtf8("整片烧写"), QString::fromUtf8("块烧写")});
  RadioGroupCS->SetItemIndex(0);

  ChkBoxErsEE = Named(new QCheckBox(page), "ChkBoxErsEE");
  ChkBoxErsEE->setGeometry(8, 146, 330, 22);
  ChkBoxErsInf = Named(new QCheckBox(page), "ChkBoxErsInf");
  ChkBoxErsInf->setGeometry(8, 168, 330, 22);
  ChkBoxPrgEE = Named(new QCheckBox(page), "ChkBoxPrgEE");
  ChkBoxPrgEE->setGeometry(8, 190, 330, 22);
  ChkBoxPrgInf = Named(new QCheckBox(page), "ChkBoxPrgInf");
  ChkBoxPrgInf->setGeometry(8, 212, 330, 22);
  ChkBoxBOOT = Named(new QCheckBox("Flash Boot Mode", page), "ChkBoxBOOT");
  ChkBoxBOOT->setGeometry(8, 234, 330, 22);
  ChkBoxBOOT->setVisible(false);

  LabelBS = Named(new QLabel(page), "LabelBS");
  LabelBS->setGeometry(176, 146, 90, 22);
  EditAdrBS = Named(new QLineEdit(page), "EditAdrBS");
  EditAdrBS->setGeometry(266, 146, 76, 22);
  LabelBE = Named(new QLabel(page), "LabelBE");
  LabelBE->setGeometry(176, 170, 90, 22);
  EditAdrBE = Named(new QLineEdit(page), "EditAdrBE");
  EditAdrBE->setGeometry(266, 170, 76, 22);

  ButtonCFG = Named(new QPushButton(page), "ButtonCFG");
  ButtonCFG->setGeometry(8, 238, 120, 26);
  ButtonCFG->setVisible(false);
  BitBtn1X = Named(new QPushButton(page), "BitBtn1X");
  BitBtn1X->setGeometry(8, 270, 334, 28);
  BitBtn2X = Named(new QPushButton(page), "BitBtn2X");
  BitBtn2X->setGeometry(8, 302, 334, 28);

  CfgInfo = Named(new QPlainTextEdit(page), "CfgInfo");
  CfgInfo->setGeometry(8, 336, 334, 110);
  CfgInfo->setReadOnly(true);
  // One summary item per line; the wider ones scroll sideways.
  CfgInfo->setLineWrapMode(QPlainTextEdit::NoWrap);

  ComboBoxCOM = Named(new QComboBox(page), "ComboBoxCOM");
  ComboBoxCOM->setGeometry(8, 452, 130, 24);
  ComboBoxCOM->setEditable(true);
  ComboBoxCOM->lineEdit()->setReadOnly(true);
  ComboBoxCOM->setEditText("Select COM......");
  BitBtnFresh = Named(new QPushButton("Fresh Device", page), "BitBtnFresh");
  BitBtnFresh->setGeometry(142, 452, 98, 26);
  BitBtnFindCOM = Named(new QPushButton("Find Device", page), "BitBtnFindCOM");
  BitBtnFindCOM->setGeometry(244, 452, 98, 26);

  FileLabel = Named(new QLabel(page), "FileLabel");
  FileLabel->setGeometry(8, 482, 334, 20);

  InfoPanel = Named(new QLabel("Device = ??????", page), "InfoPanel");
  InfoPanel->setGeometry(360, 10, 596, 24);
  InfoPanel->setFrameShape(QFrame::Panel);
  InfoPanel->setFrameShadow(QFrame::Sunken);
  InfoMemo = Named(new QPlainTextEdit(page), "InfoMemo");
  InfoMemo->setGeometry(360, 38, 596, 257);
  InfoMemo->setReadOnly(true);
  InfoMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  InfoMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  InfoMemo->setContextMenuPolicy(Qt::ActionsContextMenu);
  ClearInformation1 = Named(new QAction("Clear Information", InfoMemo), "ClearInformation1");
  InfoMemo->addAction(ClearInformation1);

  static const char* const kGaugeNames[kPortSlots] = {"Gauge1", "Gauge2", "Gauge3", "Gauge4", "Gauge5",
                                                      "Gauge6", "Gauge7", "Gauge8", "Gauge9", "GaugeA"};
  for (int i = 0; i < kPortSlots; ++i) {
    auto* bar = Named(new QProgressBar(page), kGaugeNames[i]);
    bar->setGeometry(360, 300 + 20 * i, 596, 18);
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setEnabled(false);
    Gauges[i] = bar;
  }
}

void TProgramZEKFrm::BuildGridTabs() {
  HexViewer = Grid(TabSheetFlash, "HexViewer");
  EEPView = Grid(TabSheetEep, "EEPView");
  EEPView->setGeometry(4, 4, kPageWidth - 14, kPageHeight - 80);
  StringGridRdMF = Grid(TabSheetRdMF, "StringGridRdMF");
  StringGridRdEE = Grid(TabSheetRdEEP, "StringGridRdEE");

  PanelEdit = Named(new QFrame(TabSheetEep), "PanelEdit");
  PanelEdit->setGeometry(4, kPageHeight - 72, 300, 36);
  PanelEdit->setFrameShape(QFrame::StyledPanel);
  EditEEP = Named(new QLineEdit(PanelEdit), "EditEEP");
  EditEEP->setGeometry(6, 6, 60, 24);
  EditEEP->setMaxLength(2);
  BitBtn2 = Named(new QPushButton("OK", PanelEdit), "BitBtn2");
  BitBtn2->setGeometry(72, 5, 80, 26);
  BitBtn3 = Named(new QPushButton("Cancel", PanelEdit), "BitBtn3");
  BitBtn3->setGeometry(156, 5, 80, 26);
  PanelEdit->setVisible(false);
}

void TProgramZEKFrm::BuildStatusBar() {
  StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
  setStatusBar(StatusBar1);
  std::array<QLabel*, 4> panels{};
  static const int kWidths[4] = {160, 160, 420, 160};
  for (int i = 0; i < 4; ++i) {
    panels[i] = new QLabel(StatusBar1);
    panels[i]->setObjectName(QString("StatusPanel%1").arg(i));
    panels[i]->setMinimumWidth(kWidths[i]);
    StatusBar1->addWidget(panels[i], i == 2 ? 1 : 0);
  }
  panels[3]->setText(QString::fromUtf8("联机计数：0"));
  status_ = std::make_unique<QtStatusBar>(panels);
}

void TProgramZEKFrm::Guard(void (TProgramZEKFrm::*handler)()) {
  RunGuarded([this, handler] { (this->*handler)(); });
}

void TProgramZEKFrm::BindHandlers() {
  auto on = [this](auto* sender, auto signal, void (TProgramZEKFrm::*handler)()) {
    connect(sender, signal, this, [this, handler] { Guard(handler); });
  };
  on(SpdBtnExit, &QToolButton::clicked, &TProgramZEKFrm::SpdBtnExitClick);
  on(SpdBtnOpen, &QToolButton::clicked, &TProgramZEKFrm::FileOpenBtnClick);
  on(SpdBtnOpenMor, &QToolButton::clicked, &TProgramZEKFrm::SpdBtnOpenMorClick);
  on(SpdBtnDownLoad, &QToolButton::clicked, &TProgramZEKFrm::SpdBtnDownLoadClick);
  on(SpeedButtonRD, &QToolButton::clicked, &TProgramZEKFrm::SpeedButtonRDClick);
  on(AutoSpdBtn, &QToolButton::clicked, &TProgramZEKFrm::AutoSpdBtnClick);
  on(SpdBtnBlank, &QToolButton::clicked, &TProgramZEKFrm::SpdBtnBlankClick);
  on(SpdBtnErase, &QToolButton::clicked, &TProgramZEKFrm::SpdBtnEraseClick);
  on(SpdBtnProg, &QToolButton::clicked, &TProgramZEKFrm::SpdBtnProgClick);
  on(SpdBtnVerify, &QToolButton::clicked, &TProgramZEKFrm::SpdBtnVerifyClick);

  on(LoadFile1, &QAction::triggered, &TProgramZEKFrm::FileOpenBtnClick);
  on(SaveFile1, &QAction::triggered, &TProgramZEKFrm::FileSaveBtnClick);
  on(SaveReadOutData1, &QAction::triggered, &TProgramZEKFrm::SaveReadOutData1Click);
  on(LoadEepData1, &QAction::triggered, &TProgramZEKFrm::LoadEepData1Click);
  on(SaveEepData1, &QAction::triggered, &TProgramZEKFrm::SaveEepData1Click);
  on(SaveReadOutEEP1, &QAction::triggered, &TProgramZEKFrm::SaveReadOutEEP1Click);
  on(LoadformProjectFile1, &QAction::triggered, &TProgramZEKFrm::LoadformProjectFile1Click);
  on(SaveasProjectFile1, &QAction::triggered, &TProgramZEKFrm::SaveasProjectFile1Click);
  on(COnfigLogFile1, &QAction::triggered, &TProgramZEKFrm::COnfigLogFile1Click);
  on(SaveCOMConfigtoFile1, &QAction::triggered, &TProgramZEKFrm::SaveCOMConfigtoFile1Click);
  on(Exit1, &QAction::triggered, &TProgramZEKFrm::SpdBtnExitClick);

  on(Download1, &QAction::triggered, &TProgramZEKFrm::SpdBtnDownLoadClick);
  on(AutoProgram1, &QAction::triggered, &TProgramZEKFrm::AutoSpdBtnClick);
  on(ChipBlankCheck1, &QAction::triggered, &TProgramZEKFrm::SpdBtnBlankClick);
  on(EraseChip1, &QAction::triggered, &TProgramZEKFrm::SpdBtnEraseClick);
  on(Programming1, &QAction::triggered, &TProgramZEKFrm::SpdBtnProgClick);
  on(VeriufyDownload1, &QAction::triggered, &TProgramZEKFrm::SpdBtnVerifyClick);
  on(ProtectChip1, &QAction::triggered, &TProgramZEKFrm::ProtectChip1Click);
  on(ReadChipIDInfo1, &QAction::triggered, &TProgramZEKFrm::ReadChipIDInfo1Click);
  on(ReadFlash1, &QAction::triggered, &TProgramZEKFrm::SpeedButtonRDClick);
  on(ReadChipInfoMemory1, &QAction::triggered, &TProgramZEKFrm::ReadChipInfoMemory1Click);
  on(ReadChipEepData1, &QAction::triggered, &TProgramZEKFrm::ReadChipEepData1Click);
  on(WriteChipEepData1, &QAction::triggered, &TProgramZEKFrm::WriteChipEepData1Click);
  on(VerifyChipEEPData1, &QAction::triggered, &TProgramZEKFrm::VerifyChipEEPData1Click);
  on(ReadChipOption1, &QAction::triggered, &TProgramZEKFrm::ReadChipOption1Click);
  on(WriteChipOption1, &QAction::triggered, &TProgramZEKFrm::WriteChipOption1Click);
  on(ResetProg1, &QAction::triggered, &TProgramZEKFrm::ResetProg1Click);
  on(FirmWareGradeX, &QAction::triggered, &TProgramZEKFrm::FirmWareGradeXClick);
  on(About1, &QAction::triggered, &TProgramZEKFrm::About1Click);
  on(ClearInformation1, &QAction::triggered, &TProgramZEKFrm::ClearInformation1Click);

  on(DevButton, &QPushButton::clicked, &TProgramZEKFrm::DevButtonClick);
  on(ButtonCFG, &QPushButton::clicked, &TProgramZEKFrm::ButtonCFGClick);
  on(BitBtn1X, &QPushButton::clicked, &TProgramZEKFrm::BitBtn1XClick);
  on(BitBtn2X, &QPushButton::clicked, &TProgramZEKFrm::BitBtn2XClick);
  on(BitBtnFresh, &QPushButton::clicked, &TProgramZEKFrm::BitBtnFreshClick);
  on(BitBtnFindCOM, &QPushButton::clicked, &TProgramZEKFrm::BitBtnFindCOMClick);
  on(MCUNameEdit, &QLineEdit::textChanged, &TProgramZEKFrm::MCUNameEditChange);

  on(Timer1, &QTimer::timeout, &TProgramZEKFrm::Timer1Timer);
  on(Timer2, &QTimer::timeout, &TProgramZEKFrm::Timer2Timer);
}

void TProgramZEKFrm::BindPorts() {
  static const char* const kNames[kPortSlots] = {"LineComm1", "LineComm2", "LineComm3", "LineComm4",
                                                 "LineComm5", "LineComm6", "LineComm7", "LineComm8",
                                                 "LineComm9", "LineCommA"};
  for (int slot = 0; slot < kPortSlots; ++slot) {
    auto comm = std::make_unique<TComm>(this);
    comm->setObjectName(kNames[slot]);
    SetStationProperties(*comm);
    comm->OnReceiveData = [this, slot](TComm*, const uint8_t* buffer, uint16_t length) {
      RunGuarded([&] { LineCommReceiveData(slot, buffer, length); });
    };
    comm->OnRequestHangup = [this, slot](TComm*) { RunGuarded([&] { LineCommRequestHangup(slot); }); };
    comm->OnReceiveError = [this, slot](TComm*, uint32_t mask) {
      RunGuarded([&] { LineCommReceiveError(slot, mask); });
    };
    comms_[slot] = std::move(comm);
  }
}

namespace {

class FormReadBack : public ReadBackView {
 public:
  explicit FormReadBack(TProgramZEKFrm& form) : form_(form) {}
  void ShowReadMainData() override { form_.ShowReadMainData(); }
  void ShowReadEepData() override { form_.ShowReadEepData(); }

 private:
  TProgramZEKFrm& form_;
};

}  // namespace

void TProgramZEKFrm::BindViews() {
  memo_ = std::make_unique<QtInfoMemo>(InfoMemo);
  for (int i = 0; i < kPortSlots; ++i) gauges_[i] = std::make_unique<QtGauge>(Gauges[i]);
  boxes_ = std::make_unique<QtMessageBoxes>(this);
  // Whoever started a run nobody watches reads what its boxes said there.
  line_boxes_ = std::make_unique<InfoLineBoxes>(st_, &std::cerr);
  beeper_ = std::make_unique<QtBeeper>();
  pages_ = std::make_unique<QtPageControl>(ViewPageCtrl);
  info_panel_ = std::make_unique<QtInfoPanel>(InfoPanel);
  port_list_ = std::make_unique<QtPortList>(ComboBoxCOM);
  read_back_ = std::make_unique<FormReadBack>(*this);
  link_texts_ = LinkTexts{tx_[Tx::UpgradeStartLine], tx_[Tx::UpgradeDoneLine], tx_[Tx::FileMissingPrefix],
                         tx_[Tx::FileMissingSuffix]};
  st_.LinkText = &link_texts_;
  st_.PortScan = ListUnitPorts;
  st_.Views.Boxes = boxes_.get();
  st_.Views.Beeper = beeper_.get();
  st_.Views.ViewPageCtrl = pages_.get();
  st_.Views.StatusBar = status_.get();
  st_.Views.InfoPanel = info_panel_.get();
  st_.Views.ComboBoxCOM = port_list_.get();
  st_.Views.ReadBack = read_back_.get();
  SetErrorBoxes([this] { return st_.Views.Boxes; });
}

}  // namespace zek
