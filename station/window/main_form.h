#pragma once
// The main window. It owns the widgets, the ten serial components and the
// views the station logic talks to; its handlers read and set widgets and
// call the station logic. Member functions live in files by subject
// (main_form_*.cpp), grouped here the same way.

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "station/data/info_lines.h"
#include "station/data/link_texts.h"
#include "station/data/station_state.h"
#include "station/window/edition_texts.h"
#include "station/window/qt_views.h"
#include "station/window/window_services.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTableView;
class QTabWidget;
class QToolButton;
class QWidget;

namespace zek {

class TComm;
class TickProbe;
class RadioGroup;
struct SlotCommand;
struct ControlStates;
class TAboutForm;
class TLogCfgForm;
class TConfigSNForm;
class TKelpraCfgForm;
class TChipSelectForm;
class TBS32xOptBytFrm;
struct ChipSetupRow;

class HexGridModel;

// The six dialogs, created once by the program after the main window.
struct StationDialogs {
  TAboutForm* AboutForm = nullptr;
  TLogCfgForm* LogCfgForm = nullptr;
  TConfigSNForm* ConfigSNForm = nullptr;
  TKelpraCfgForm* KelpraCfgForm = nullptr;
  TChipSelectForm* ChipSelectForm = nullptr;
  TBS32xOptBytFrm* BS32xOptBytFrm = nullptr;
};

struct MainFormOptions {
  // The program path (argument 0); AppDir is its folder.
  std::string ProgramPath;
  // Arguments after the program path.
  std::vector<std::string> Arguments;
  // Tests call the timer handlers themselves.
  bool StartTimers = true;
  DialogRunner* Dialogs = nullptr;      // default: modal exec
  FileDialogs* Files = nullptr;         // default: the desktop's
};

class TProgramZEKFrm : public QMainWindow {
 public:
  TProgramZEKFrm(StationState& st, const EditionTexts& texts, MainFormOptions options);
  ~TProgramZEKFrm() override;

  void SetDialogs(const StationDialogs& dialogs) { dialogs_ = dialogs; }
  const StationDialogs& Dialogs() const { return dialogs_; }
  StationState& State() { return st_; }
  const EditionTexts& Texts() const { return tx_; }
  DialogRunner& Runner() { return *runner_; }
  FileDialogs& Files() { return *files_; }

  // --- Start-up, close and the information pane ---
  void FormShow();
  void AddInfoLine(const std::string& message);
  void ArrangeGauges();
  void SpdBtnExitClick();
  void FormClose();
  void ClearInformation1Click();
  void COnfigLogFile1Click();
  void BitBtn2XClick();
  void BitBtn1XClick();
  void About1Click();

  // --- Timers and the command line ---
  void Timer1Timer();
  void Timer2Timer();

  // --- Operation commands ---
  void SpdBtnDownLoadClick();
  void AutoSpdBtnClick();
  void SpdBtnBlankClick();
  void SpdBtnEraseClick();
  void SpdBtnProgClick();
  void SpdBtnVerifyClick();
  void VerifyChipEEPData1Click();
  void ProtectChip1Click();
  void WriteChipOption1Click();
  void WriteChipEepData1Click();
  void ReadChipIDInfo1Click();
  void ReadChipInfoMemory1Click();
  void ReadChipOption1Click();
  void SpeedButtonRDClick();
  void ReadChipEepData1Click();
  void ResetProg1Click();
  // Space and carriage return start the automatic sequence.
  void FormKeyPress(char key);

  // --- Control bytes ---
  void CollectControlSettings();
  ControlStates ReadControlStates() const;

  // --- Serial port events of slot 0-9 (LineComm1 .. LineCommA) ---
  void LineCommReceiveData(int port, const uint8_t* buffer, uint16_t length);
  void LineCommRequestHangup(int port);
  void LineCommReceiveError(int port, uint32_t event_mask);

  // --- Units, port list and firmware ---
  void BitBtnFreshClick();
  void BitBtnFindCOMClick();
  void SaveCOMConfigtoFile1Click();
  void FirmWareGradeXClick();

  // --- Project file ---
  bool LoadProjectFile(const std::string& path);
  void SaveasProjectFile1Click();
  void LoadformProjectFile1Click();

  // --- Chip selection and chip-dependent set-up ---
  void DevButtonClick();
  void MCUNameEditChange();
  void ButtonCFGClick();

  // --- Images and buffer views ---
  void FileOpenBtnClick();
  void SpdBtnOpenMorClick();
  bool LoadObjectFile(const std::string& path, uint32_t& start, uint32_t& end);
  void ShowMainBuffer();
  void UpdateMainChecksums(uint32_t start, uint32_t end);
  void FillHexViewer(uint32_t start, uint32_t end);
  void ShowEepBuffer();
  void ShowReadMainData();
  void ShowReadEepData();
  // The EEP cell editor. Rows count the header row as 0, so the first data
  // row is row 1; column 0 is the address and 17 the text.
  void EEPViewSelectCell(int column, int row);
  void EEPViewMouseDown(int x, int y);
  void EEPViewDblClick();
  void FillCurrent1Click();
  void BitBtn2Click();
  void BitBtn3Click();
  // The models behind HexViewer, EEPView, StringGridRdMF and StringGridRdEE.
  HexGridModel& MainGrid();
  HexGridModel& EepGrid();
  HexGridModel& ReadMainGrid();
  HexGridModel& ReadEepGrid();

  // --- Saving buffers and EEPROM files ---
  void FileSaveBtnClick();
  void SaveReadOutData1Click();
  void LoadEepData1Click();
  void SaveEepData1Click();
  void SaveReadOutEEP1Click();

  // The views bound into the station state.
  QtInfoMemo& Memo() { return *memo_; }
  QtStatusBar& Status() { return *status_; }
  QtPortList& PortList() { return *port_list_; }
  QtGauge& GaugeOf(int slot) { return *gauges_[slot]; }
  TComm& CommOf(int slot) { return *comms_[slot]; }
  // The whole CfgInfo text, one string per line.
  std::vector<std::string> CfgInfoLines() const;
  void SetCfgInfoLines(const std::vector<std::string>& lines);
  // True once the close handler has run.
  bool Closed() const { return closed_; }
  // The command-line run ended without its result file: the file could not
  // be written, or an "OFF" run could not load its project.
  bool ResultFileFailed() const { return result_file_failed_; }
  // Ends the station from outside (a stop signal): from now on nobody is
  // there to answer a box; an open box or dialog is closed, then the window
  // closes as "Eixt" closes it.
  void StopFromOutside();

  // --- Widgets, named as the station names them ---
  // Top bar.
  QFrame* Panel1;
  QToolButton *SpdBtnExit, *SpdBtnOpen, *SpdBtnOpenMor, *SpdBtnDownLoad, *SpeedButtonRD, *AutoSpdBtn,
      *SpdBtnBlank, *SpdBtnErase, *SpdBtnProg, *SpdBtnVerify;
  // Menus.
  QMenu *File1, *Execute2, *Help1;
  QAction *LoadFile1, *SaveFile1, *SaveReadOutData1, *LoadEepData1, *SaveEepData1, *SaveReadOutEEP1,
      *LoadformProjectFile1, *SaveasProjectFile1, *COnfigLogFile1, *SaveCOMConfigtoFile1, *Exit1;
  QAction *Download1, *AutoProgram1, *ChipBlankCheck1, *EraseChip1, *Programming1, *VeriufyDownload1,
      *ProtectChip1, *ReadChipIDInfo1, *ReadFlash1, *ReadChipInfoMemory1, *ReadChipEepData1,
      *WriteChipEepData1, *VerifyChipEEPData1, *ReadChipOption1, *WriteChipOption1, *ResetProg1,
      *FirmWareGradeX;
  QAction* About1;
  QAction* ClearInformation1;
  // Pages.
  QTabWidget* ViewPageCtrl;
  QWidget *TabSheetChip, *TabSheetFlash, *TabSheetEep, *TabSheetRdMF, *TabSheetRdEEP;
  // "Chip Setup" tab.
  QLabel* LabelCP;
  QLineEdit* MCUNameEdit;
  QPushButton* DevButton;
  QLabel* LabelSCKSEL;
  QComboBox* ComBoxSpdCLK;
  RadioGroup* RadioGpVolt;
  RadioGroup* RadioGroupCS;
  QCheckBox *ChkBoxErsEE, *ChkBoxErsInf, *ChkBoxPrgEE, *ChkBoxPrgInf, *ChkBoxBOOT;
  QLabel *LabelBS, *LabelBE;
  QLineEdit *EditAdrBS, *EditAdrBE;
  QPushButton *ButtonCFG, *BitBtn1X, *BitBtn2X;
  QPlainTextEdit* CfgInfo;
  QComboBox* ComboBoxCOM;
  QPushButton *BitBtnFresh, *BitBtnFindCOM;
  QLabel* InfoPanel;
  QPlainTextEdit* InfoMemo;
  std::array<QProgressBar*, kPortSlots> Gauges;  // Gauge1 .. Gauge9, GaugeA
  QLabel* FileLabel;
  // Grids and the EEP cell editor.
  QTableView *HexViewer, *EEPView, *StringGridRdMF, *StringGridRdEE;
  QFrame* PanelEdit;
  QLineEdit* EditEEP;
  QPushButton *BitBtn2, *BitBtn3;
  // The EEP grid's pop-up menu.
  QAction *LoadEEPDataFmFile = nullptr, *SaveEEpDatatoFile1 = nullptr, *FillCurrent1 = nullptr;
  // Status bar.
  QStatusBar* StatusBar1;
  // Timers.
  QTimer* Timer1;
  QTimer* Timer2;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Widget creation and binding (main_form_build.cpp).
  void BuildTopBar();
  void BuildMenus();
  void BuildChipTab();
  void BuildGridTabs();
  void BuildStatusBar();
  void BindHandlers();
  void BindPorts();
  void BindViews();
  // Runs a handler under the general error handler.
  void Guard(void (TProgramZEKFrm::*handler)());

  // Grid headers and column widths (main_form_images.cpp).
  void SetUpHexGrids();

  // Start-up and close helpers (main_form_startup.cpp).
  void SetWindowTexts();
  void ReadCommandLine();
  void WriteCloseLog();
  void EndRunWithoutResult();
  void ClosePorts();

  // Commands (main_form_commands.cpp): the guards, then the shape every
  // per-slot command shares.
  bool FileGuard();
  bool ChipGuard();
  // Refuse, with the busy line, a change that running chains would read:
  // any change while a slot is busy, or control bytes that would differ.
  bool IdleGuard();
  bool ControlsGuard();
  void RunSlotCommand(bool needs_file, const SlotCommand& command);

  // Timers and the command line: the benchmarks' view of the 10 ms timer.
  std::unique_ptr<TickProbe> tick_probe_;

  // Chip-dependent set-up (main_form_chip.cpp): the class row's buttons,
  // speed and groups.
  void ApplyChipClassRow(const ChipSetupRow& row);
  // Shows the chip's name and runs the set-up, also for the name shown.
  void ShowChipName();

  // Images and buffer views (main_form_images.cpp, main_form_eep_editor.cpp).
  void MakeHexGrids();
  void BindEepEditor();
  bool EepTabVisible() const;
  // The views and sums of freshly loaded images (a file or a project).
  void ShowLoadedImages();
  HexGridModel* main_grid_ = nullptr;
  HexGridModel* eep_grid_ = nullptr;
  HexGridModel* read_main_grid_ = nullptr;
  HexGridModel* read_eep_grid_ = nullptr;
  int eep_column_ = 0, eep_row_ = 0;  // the selected cell of EEPView
  int eep_mouse_x_ = 0, eep_mouse_y_ = 0;

  StationState& st_;
  const EditionTexts& tx_;
  LinkTexts link_texts_;
  MainFormOptions options_;
  DialogRunner* runner_;
  std::unique_ptr<FileDialogs> own_files_;
  FileDialogs* files_;
  StationDialogs dialogs_;
  bool shown_ = false;
  bool closed_ = false;
  bool closing_for_result_ = false;
  bool result_file_failed_ = false;

  std::unique_ptr<QtInfoMemo> memo_;
  std::array<std::unique_ptr<QtGauge>, kPortSlots> gauges_;
  std::unique_ptr<QtMessageBoxes> boxes_;
  // The boxes while the command line names a project: lines in the log.
  std::unique_ptr<InfoLineBoxes> line_boxes_;
  std::unique_ptr<QtBeeper> beeper_;
  std::unique_ptr<QtPageControl> pages_;
  std::unique_ptr<QtStatusBar> status_;
  std::unique_ptr<QtInfoPanel> info_panel_;
  std::unique_ptr<QtPortList> port_list_;
  std::unique_ptr<ReadBackView> read_back_;
  std::array<std::unique_ptr<TComm>, kPortSlots> comms_;
};

}  // namespace zek
