// Renders the station window and its dialogs offscreen to PNG files:
//   window_shots --out DIR --app-dir DIR [--project FILE] [--units N]
//                [--edition en|zh|both]
// The program folder holds what the station expects beside its program
// (the firmware file; the units are found as the station finds them, so
// run it where ZEK_COM_DIR and ZEK_SYSFS_ROOT lead to simulated units).
// Shots: main-startup-ED.png once every unit answered, main-download-ED.png
// once the project's download finished on every unit, dialog-NAME-ED.png.

#include <stdlib.h>

#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "station/window/dialogs.h"
#include "station/window/error_handler.h"
#include "station/window/program.h"
#include "tools/window-shots/window_render.h"

namespace zek::shots {
namespace {

struct Options {
  std::string out, app_dir, project, edition = "both";
  int units = 10;
};

// No box may stop an unattended run: each is written to the error stream.
class PrintedBoxes : public MessageBoxView {
 public:
  void Information(const std::string& t) override { Print("information", t); }
  void Warning(const std::string& t) override { Print("warning", t); }
  BoxChoice ErrorOkAbort(const std::string& t) override {
    Print("error", t);
    return BoxChoice::Ok;
  }
  void Plain(const std::string& t) override { Print("message", t); }

 private:
  static void Print(const char* kind, const std::string& t) { std::fprintf(stderr, "[%s box] %s\n", kind, t.c_str()); }
};

class ShownDialogs : public DialogRunner {
 public:
  int Run(QDialog& dialog) override {
    dialog.show();
    dialog.hide();
    return QDialog::Rejected;
  }
};

bool RunUntil(const std::function<bool()>& done, int limit_ms) {
  QElapsedTimer clock;
  clock.start();
  QEventLoop loop;
  while (!done()) {
    if (clock.elapsed() > limit_ms) return false;
    loop.processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return true;
}

bool Save(QWidget& widget, const Options& o, const std::string& name) {
  const QString path = QString::fromStdString(o.out + "/" + name + ".png");
  if (!SavePng(Render(widget), path)) {
    std::fprintf(stderr, "window_shots: cannot write %s\n", path.toStdString().c_str());
    return false;
  }
  std::printf("%s\n", path.toStdString().c_str());
  return true;
}

struct Run {
  Run(const EditionTexts& texts, const Options& o, std::vector<std::string> arguments) {
    MainFormOptions options;
    options.ProgramPath = o.app_dir + "/DorvikLumo_ZEK";
    options.Arguments = std::move(arguments);
    options.Dialogs = &dialogs;
    program = std::make_unique<StationProgram>(texts, options);
    program->State().Views.Boxes = &boxes;
    program->Main().show();
  }
  TProgramZEKFrm& Main() { return program->Main(); }
  StationState& St() { return program->State(); }
  bool Settled() {
    Main().Memo().Flush();
    return !Main().Timer2->isActive();
  }
  PrintedBoxes boxes;
  ShownDialogs dialogs;
  std::unique_ptr<StationProgram> program;
};

bool ShootEdition(const EditionTexts& texts, const Options& o) {
  const std::string ed = texts.Edition;
  bool ok = true;
  {
    Run run(texts, o, {});
    if (!RunUntil([&] { return run.Settled() && run.St().DevicesFound >= o.units; }, 20000))
      std::fprintf(stderr, "window_shots: %d of %d units answered\n", run.St().DevicesFound, o.units);
    RunUntil([] { return false; }, 300);  // the last lines reach the box
    run.Main().Memo().Flush();
    ok &= Save(run.Main(), o, "main-startup-" + ed);
    const StationDialogs& d = run.program->Dialogs();
    const std::pair<QDialog*, const char*> dialogs[] = {
        {static_cast<QDialog*>(d.AboutForm), "AboutForm"},
        {static_cast<QDialog*>(d.LogCfgForm), "LogCfgForm"},
        {static_cast<QDialog*>(d.ConfigSNForm), "ConfigSNForm"},
        {static_cast<QDialog*>(d.KelpraCfgForm), "KelpraCfgForm"},
        {static_cast<QDialog*>(d.ChipSelectForm), "ChipSelectForm"},
        {static_cast<QDialog*>(d.BS32xOptBytFrm), "BS32xOptBytFrm"}};
    for (const auto& [dialog, name] : dialogs) {
      if (dialog == nullptr) continue;
      RunGuarded([&] { dialog->show(); });
      RunUntil([] { return false; }, 50);
      ok &= Save(*dialog, o, std::string("dialog-") + name + "-" + ed);
      dialog->hide();
    }
  }
  if (o.project.empty()) return ok;
  Run run(texts, o, {o.project});
  const bool done = RunUntil(
      [&] {
        if (!run.Settled() || run.St().DevicesFound == 0 || run.St().DownloadsDone < run.St().DevicesFound)
          return false;
        for (int slot = 0; slot < kPortSlots; ++slot)
          if (run.St().PortBusy[slot] != 0) return false;
        return true;
      },
      120000);
  if (!done) std::fprintf(stderr, "window_shots: the download did not finish on every unit\n");
  RunUntil([] { return false; }, 300);
  run.Main().Memo().Flush();
  ok &= Save(run.Main(), o, "main-download-" + ed);
  return ok && done;
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return false;
    const std::string v = argv[++i];
    if (a == "--out") {
      o.out = v;
    } else if (a == "--app-dir") {
      o.app_dir = v;
    } else if (a == "--project") {
      o.project = v;
    } else if (a == "--units") {
      o.units = std::atoi(v.c_str());
    } else if (a == "--edition") {
      o.edition = v;
    } else {
      return false;
    }
  }
  return !o.out.empty() && !o.app_dir.empty() && (o.edition == "en" || o.edition == "zh" || o.edition == "both");
}

}  // namespace
}  // namespace zek::shots

int main(int argc, char** argv) {
  using namespace zek::shots;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: window_shots --out DIR --app-dir DIR [--project FILE] [--units N] "
                 "[--edition en|zh|both]\n");
    return 2;
  }
  zek::StationApplication app(argc, argv);
  bool ok = true;
  if (o.edition != "zh") ok &= ShootEdition(zek::EnglishEdition(), o);
  if (o.edition != "en") ok &= ShootEdition(zek::ChineseEdition(), o);
  return ok ? 0 : 1;
}
